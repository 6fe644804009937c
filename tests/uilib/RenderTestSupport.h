// Off-screen canvases and generated pictures for the drawing tests.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/Platform.h"

namespace rendertest {

// A temporary folder removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvella-render-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A transparent ARGB32 canvas; scale > 1 makes it a HiDPI surface.
class Canvas {
public:
    Canvas(int width, int height, double scale = 1.0) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width * scale),
                                              int(height * scale));
        cairo_surface_set_device_scale(surface_, scale, scale);
        cr_ = cairo_create(surface_);
    }
    ~Canvas() {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
    }
    cairo_t* Cr() const { return cr_; }
    int Width() const { return cairo_image_surface_get_width(surface_); }
    int Height() const { return cairo_image_surface_get_height(surface_); }
    // Premultiplied ARGB of a device pixel.
    uint32_t Pixel(int x, int y) const {
        cairo_surface_flush(surface_);
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        return reinterpret_cast<const uint32_t*>(data + y * cairo_image_surface_get_stride(surface_))[x];
    }
    int Alpha(int x, int y) const { return Pixel(x, y) >> 24; }
    // Bounding box of every pixel with alpha > threshold; empty when none.
    RECT Ink(int threshold = 40) const {
        RECT box{Width(), Height(), 0, 0};
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x)
                if (Alpha(x, y) > threshold) {
                    box.left = std::min<long>(box.left, x);
                    box.top = std::min<long>(box.top, y);
                    box.right = std::max<long>(box.right, x + 1);
                    box.bottom = std::max<long>(box.bottom, y + 1);
                }
        if (box.right <= box.left) box = RECT{};
        return box;
    }
    void SavePng(const std::string& path) const { cairo_surface_write_to_png(surface_, path.c_str()); }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Writes a PNG whose pixels (ARGB, not premultiplied) come from colorAt.
inline void WritePng(const std::string& path, int width, int height,
                     const std::function<uint32_t(int, int)>& colorAt) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            uint32_t c = colorAt(x, y), a = c >> 24;
            auto pm = [a](uint32_t v) { return (v * a + 127) / 255; };
            row[x] = (a << 24) | (pm((c >> 16) & 255) << 16) | (pm((c >> 8) & 255) << 8) | pm(c & 255);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_surface_write_to_png(s, path.c_str());
    cairo_surface_destroy(s);
}

inline void WriteSolidPng(const std::string& path, int width, int height, uint32_t argb) {
    WritePng(path, width, height, [argb](int, int) { return argb; });
}

// RGB of a premultiplied opaque pixel, alpha dropped.
inline uint32_t Rgb(uint32_t pixel) { return pixel & 0x00FFFFFF; }

}  // namespace rendertest
