// Decoding picture files into premultiplied ARGB32 cairo surfaces.
#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <utility>

#include "uilib/RenderEngine.h"

namespace uilib {

void CairoSurfaceDeleter::operator()(cairo_surface_t* surface) const {
    if (surface) cairo_surface_destroy(surface);
}

namespace {

struct Decoded {
    SurfacePtr surface;
    bool hasAlpha = false;
};

bool AnyTransparent(cairo_surface_t* surface) {
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32) return false;
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            if ((row[x] >> 24) != 0xFF) return true;
        }
    }
    return false;
}

bool IsPngFile(const char* path) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char head[8] = {};
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    size_t n = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    return n == sizeof head && std::memcmp(head, kSignature, sizeof head) == 0;
}

// cairo reads PNG straight into a premultiplied surface, the fastest way for the skin
// pictures; gdk-pixbuf picks any other format from the content (a JPEG named .png still
// loads) and handles the colour mask.
Decoded Decode(const char* path, DWORD mask) {
    Decoded out;
    struct stat st;
    if (::stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return out;
    if (mask == 0 && IsPngFile(path)) {
        SurfacePtr png(cairo_image_surface_create_from_png(path));
        if (cairo_surface_status(png.get()) == CAIRO_STATUS_SUCCESS) {
            out.hasAlpha = AnyTransparent(png.get());
            out.surface = std::move(png);
            return out;
        }
        // damaged: let gdk-pixbuf have a go
    }
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path, &error);
    if (!pixbuf) {
        if (error) g_error_free(error);
        return out;
    }
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool sourceAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB ||
        gdk_pixbuf_get_bits_per_sample(pixbuf) != 8 || channels < 3 || width <= 0 ||
        height <= 0) {
        g_object_unref(pixbuf);
        return out;
    }
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        g_object_unref(pixbuf);
        return out;
    }
    cairo_surface_flush(surface.get());
    const guchar* src = gdk_pixbuf_read_pixels(pixbuf);
    const int srcStride = gdk_pixbuf_get_rowstride(pixbuf);
    unsigned char* dst = cairo_image_surface_get_data(surface.get());
    const int dstStride = cairo_image_surface_get_stride(surface.get());
    const uint32_t maskRgb = mask & 0x00FFFFFF;
    bool anyTransparent = false;
    for (int y = 0; y < height; ++y) {
        const guchar* s = src + static_cast<size_t>(y) * srcStride;
        uint32_t* d = reinterpret_cast<uint32_t*>(dst + static_cast<size_t>(y) * dstStride);
        for (int x = 0; x < width; ++x, s += channels) {
            uint32_t r = s[0], g = s[1], b = s[2];
            uint32_t a = sourceAlpha ? s[3] : 255;
            if (mask != 0 && ((r << 16) | (g << 8) | b) == maskRgb) a = 0;
            if (a != 255) {
                anyTransparent = true;
                // premultiply with rounding
                r = (r * a + 127) / 255;
                g = (g * a + 127) / 255;
                b = (b * a + 127) / 255;
            }
            d[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(surface.get());
    g_object_unref(pixbuf);
    out.surface = std::move(surface);
    out.hasAlpha = anyTransparent;
    return out;
}

// "dir/name.png" -> "dir/name@2x.png"; empty when the name already is a twin.
std::string TwinPath(const std::string& path) {
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
    std::string stem = path.substr(0, dot);
    if (stem.size() >= 3 && stem.compare(stem.size() - 3, 3, "@2x") == 0) return std::string();
    return stem + "@2x" + path.substr(dot);
}

}  // namespace

std::unique_ptr<ImageData> CRenderEngine::LoadImage(const char* path, DWORD mask) {
    if (!path || !*path) return nullptr;
    Decoded one = Decode(path, mask);
    if (!one.surface) return nullptr;
    auto image = std::make_unique<ImageData>();
    image->width = cairo_image_surface_get_width(one.surface.get());
    image->height = cairo_image_surface_get_height(one.surface.get());
    image->surface = std::move(one.surface);
    image->hasAlpha = one.hasAlpha;
    image->twinPath = TwinPath(path);
    image->mask = mask;
    return image;
}

cairo_surface_t* ImageData::Surface2x() const {
    if (!twinTried) {
        twinTried = true;
        if (!twinPath.empty()) surface2x = Decode(twinPath.c_str(), mask).surface;
    }
    return surface2x.get();
}

}  // namespace uilib
