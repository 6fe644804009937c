// The fake backend's painting: invalid areas and WM_PAINT into an image surface.
#include <cairo.h>
#include <algorithm>

#include "platform/fake/FakeBackendImpl.h"

namespace platform {

using namespace fake;

void FakeBackend::InvalidateRect(HWND hwnd, const RECT* rect) {
    FakeWindow* w = Live(hwnd);
    if (!w) return;
    RECT client = Rect(0, 0, Width(w->rect), Height(w->rect));
    RECT r = client;
    if (rect) {
        r = Rect(std::max(rect->left, client.left), std::max(rect->top, client.top),
                 std::min(rect->right, client.right), std::min(rect->bottom, client.bottom));
    }
    if (Empty(r)) return;
    if (w->invalid) {
        RECT& u = w->invalidRect;
        u = Rect(std::min(u.left, r.left), std::min(u.top, r.top), std::max(u.right, r.right),
                 std::max(u.bottom, r.bottom));
    } else {
        w->invalid = true;
        w->invalidRect = r;
    }
}

void FakeBackend::UpdateWindow(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w || !w->invalid) return;
    int width = Width(w->rect), height = Height(w->rect);
    if (width <= 0 || height <= 0) {
        w->invalid = false;
        return;
    }
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * scale_, height * scale_));
    cairo_surface_set_device_scale(surface.get(), scale_, scale_);
    w->paintSurface = surface.get();
    Deliver(w, WM_PAINT, 0, 0);
    w->paintSurface = nullptr;
}

FakeBackend::Surface FakeBackend::Render(HWND hwnd) {
    FakeWindow* w = Live(hwnd);
    if (!w) return nullptr;
    if (Width(w->rect) <= 0 || Height(w->rect) <= 0) return nullptr;
    w->invalid = false;
    InvalidateRect(hwnd, nullptr);  // a fresh surface needs every pixel
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width(w->rect) * scale_,
                                               Height(w->rect) * scale_));
    cairo_surface_set_device_scale(surface.get(), scale_, scale_);
    w->paintSurface = surface.get();
    Deliver(w, WM_PAINT, 0, 0);
    w->paintSurface = nullptr;
    cairo_surface_flush(surface.get());
    return surface;
}

uint32_t FakeBackend::PixelAt(cairo_surface_t* surface, int x, int y) {
    if (!surface || x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) ||
        y >= cairo_image_surface_get_height(surface))
        return 0;
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
}

bool FakeBackend::BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
    if (!ps) return false;
    ps->cr = nullptr;
    FakeWindow* w = Live(hwnd);
    if (!w || !w->paintSurface) return false;
    ps->rcPaint = w->invalid ? w->invalidRect : Rect(0, 0, Width(w->rect), Height(w->rect));
    w->invalid = false;
    ps->cr = cairo_create(w->paintSurface);
    cairo_rectangle(ps->cr, ps->rcPaint.left, ps->rcPaint.top, Width(ps->rcPaint),
                    Height(ps->rcPaint));
    cairo_clip(ps->cr);
    return true;
}

void FakeBackend::EndPaint(HWND, PAINTSTRUCT* ps) {
    if (ps && ps->cr) {
        cairo_destroy(ps->cr);
        ps->cr = nullptr;
    }
}

bool FakeBackend::HasInvalidArea(HWND hwnd) const {
    FakeWindow* w = Live(hwnd);
    return w && w->invalid;
}

RECT FakeBackend::InvalidArea(HWND hwnd) const {
    FakeWindow* w = Live(hwnd);
    return w && w->invalid ? w->invalidRect : RECT();
}

void FakeBackend::ClearInvalidArea(HWND hwnd) {
    if (FakeWindow* w = Live(hwnd)) w->invalid = false;
}

}  // namespace platform
