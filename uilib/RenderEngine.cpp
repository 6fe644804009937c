// Picture texts, picture drawing, shapes and colour helpers. Text is in TextRender.cpp,
// decoding in ImageLoader.cpp.
#include "uilib/RenderEngine.h"

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "uilib/AttributeValue.h"
#include "uilib/PaintManager.h"
#include "uilib/ResourceCache.h"

namespace uilib {

namespace {

// ---- picture texts -------------------------------------------------------------

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

using attr::Trim;

struct ImageKey {
    const char* name;
    void (*apply)(ImageAttributes*, const char*);
};

const ImageKey kImageKeys[] = {
    {"file", [](ImageAttributes* a, const char* v) { a->file = Trim(v); }},
    {"dest", [](ImageAttributes* a, const char* v) { a->dest = attr::ParseRect(v); }},
    {"source", [](ImageAttributes* a, const char* v) { a->source = attr::ParseRect(v); }},
    {"corner", [](ImageAttributes* a, const char* v) { a->corner = attr::ParseRect(v); }},
    {"mask", [](ImageAttributes* a, const char* v) { a->mask = attr::ParseColor(v); }},
    {"fade",
     [](ImageAttributes* a, const char* v) {
         a->fade = static_cast<BYTE>(std::clamp(attr::ParseInt(v), 0, 255));
     }},
    {"hole", [](ImageAttributes* a, const char* v) { a->hole = attr::ParseBool(v); }},
    {"xtiled", [](ImageAttributes* a, const char* v) { a->xtiled = attr::ParseBool(v); }},
    {"ytiled", [](ImageAttributes* a, const char* v) { a->ytiled = attr::ParseBool(v); }},
    {"align", [](ImageAttributes* a, const char* v) { a->alignRight = Trim(v) == "right"; }},
};

void ApplyKey(const std::string& key, const std::string& value, ImageAttributes* out) {
    for (const ImageKey& k : kImageKeys) {
        if (strcasecmp(k.name, key.c_str()) == 0) {
            k.apply(out, value.c_str());
            return;
        }
    }
}

// True when the text holds a key='value' pair anywhere; otherwise it is a plain file name.
bool LooksLikePairs(const std::string& s) {
    for (size_t eq = s.find('='); eq != std::string::npos; eq = s.find('=', eq + 1)) {
        size_t after = eq + 1;
        while (after < s.size() && IsSpace(s[after])) ++after;
        if (after >= s.size() || (s[after] != '\'' && s[after] != '"')) continue;
        size_t before = eq;
        while (before > 0 && IsSpace(s[before - 1])) --before;
        if (before > 0 && (std::isalnum(static_cast<unsigned char>(s[before - 1])) ||
                           s[before - 1] == '_'))
            return true;
    }
    return false;
}

// Applies the keys of a picture text onto out; keys it does not name stay as they were.
void ApplyImageString(const char* text, ImageAttributes* out) {
    const std::string s = Trim(text ? text : "");
    if (s.empty()) return;
    if (!LooksLikePairs(s)) {
        out->file = s;
        return;
    }
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        while (i < n && IsSpace(s[i])) ++i;
        size_t keyStart = i;
        while (i < n && !IsSpace(s[i]) && s[i] != '=') ++i;
        std::string key = s.substr(keyStart, i - keyStart);
        while (i < n && IsSpace(s[i])) ++i;
        if (i >= n || s[i] != '=') continue;  // a stray word: skip it
        ++i;
        while (i < n && IsSpace(s[i])) ++i;
        std::string value;
        if (i < n && (s[i] == '\'' || s[i] == '"')) {
            const char quote = s[i++];
            size_t end = s.find(quote, i);
            if (end == std::string::npos) end = n;
            value = s.substr(i, end - i);
            i = end + 1;
        } else {
            size_t start = i;
            while (i < n && !IsSpace(s[i])) ++i;
            value = s.substr(start, i - start);
        }
        ApplyKey(key, value, out);
    }
}

// ---- drawing helpers -------------------------------------------------------------

void SetSourceArgb(cairo_t* cr, DWORD argb) {
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, ((argb >> 24) & 0xFF) / 255.0);
}

bool IsNullRect(const RECT& rc) {
    return rc.left == 0 && rc.top == 0 && rc.right == 0 && rc.bottom == 0;
}

// Device pixels per user unit: a HiDPI surface or a scaled context prefers the 2x twin.
double EffectiveScale(cairo_t* cr) {
    double sx = 1, sy = 1;
    cairo_surface_get_device_scale(cairo_get_group_target(cr), &sx, &sy);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    return sx * std::hypot(m.xx, m.yx);
}

struct Patch {
    double sx, sy, sw, sh;  // in the chosen surface's pixels
    double dx, dy, dw, dh;  // in user space
};

// Maps the source part onto the destination box (repeating it beyond the box when
// repeat is set), painting only inside the clip box.
void PaintPatch(cairo_t* cr, cairo_surface_t* surface, const Patch& p, double deviceScale,
                double clipX, double clipY, double clipW, double clipH, double alpha,
                bool repeat) {
    if (p.sw <= 0 || p.sh <= 0 || p.dw <= 0 || p.dh <= 0 || clipW <= 0 || clipH <= 0) return;
    // A stretched part is sampled from a sub-surface padded at its own edges, so it
    // does not blend in its neighbours' pixels (a nine-patch border would smear
    // inwards). The whole picture, or a part drawn 1:1, needs no such copy.
    const double x0 = std::floor(p.sx), y0 = std::floor(p.sy);
    const double x1 = std::ceil(p.sx + p.sw), y1 = std::ceil(p.sy + p.sh);
    const bool whole = x0 <= 0 && y0 <= 0 && x1 >= cairo_image_surface_get_width(surface) &&
                       y1 >= cairo_image_surface_get_height(surface);
    const bool unscaled = std::abs(p.sw - p.dw * deviceScale) < 1e-6 &&
                          std::abs(p.sh - p.dh * deviceScale) < 1e-6;
    SurfacePtr part;
    double originX = 0, originY = 0;
    if (!whole && (repeat || !unscaled)) {
        part.reset(cairo_surface_create_for_rectangle(surface, x0, y0, x1 - x0, y1 - y0));
        if (cairo_surface_status(part.get()) != CAIRO_STATUS_SUCCESS) return;
        originX = x0;
        originY = y0;
    }
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part ? part.get() : surface);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, p.sx - originX, p.sy - originY);
    cairo_matrix_scale(&m, p.sw / p.dw, p.sh / p.dh);
    cairo_matrix_translate(&m, -p.dx, -p.dy);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, repeat ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    cairo_set_source(cr, pattern);
    if (alpha >= 1.0) {
        cairo_rectangle(cr, clipX, clipY, clipW, clipH);
        cairo_fill(cr);
    } else {
        cairo_save(cr);
        cairo_rectangle(cr, clipX, clipY, clipW, clipH);
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, alpha);
        cairo_restore(cr);
    }
    cairo_pattern_destroy(pattern);
}

void PaintStretched(cairo_t* cr, cairo_surface_t* surface, const Patch& p, double deviceScale,
                    double alpha) {
    PaintPatch(cr, surface, p, deviceScale, p.dx, p.dy, p.dw, p.dh, alpha, false);
}

// Repeats the source part at its own (logical) size across the box in the tiled
// directions and stretches it in the others.
void PaintTiled(cairo_t* cr, cairo_surface_t* surface, const Patch& p, double scaleX,
                double scaleY, double deviceScale, bool xtiled, bool ytiled, double alpha) {
    Patch tile = p;
    if (xtiled) tile.dw = std::max(1.0, p.sw / scaleX);
    if (ytiled) tile.dh = std::max(1.0, p.sh / scaleY);
    PaintPatch(cr, surface, tile, deviceScale, p.dx, p.dy, p.dw, p.dh, alpha, true);
}

// The picture (or its source part) at its own width against the right edge of dest; on
// a narrower dest only its right part.
void AlignRight(const ImageData* image, CRect* dest, RECT* source) {
    RECT src = *source;
    if (IsNullRect(src)) src = RECT{0, 0, static_cast<LONG>(image->width), static_cast<LONG>(image->height)};
    const LONG natural = src.right - src.left, room = dest->right - dest->left;
    if (room < natural) src.left = src.right - room;
    else dest->left = dest->right - natural;
    *source = src;
}

// Corner margins that fit in size: shrunk in proportion when they would overlap.
void FitMargins(double size, double* a, double* b) {
    *a = std::max(0.0, *a);
    *b = std::max(0.0, *b);
    if (*a + *b > size && *a + *b > 0) {
        double k = size / (*a + *b);
        *a *= k;
        *b *= k;
    }
}

void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double rx,
                     double ry) {
    rx = std::min(rx, w / 2);
    ry = std::min(ry, h / 2);
    cairo_new_path(cr);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x, y, w, h);
        return;
    }
    struct Corner { double cx, cy, from; } corners[] = {
        {x + w - rx, y + ry, -M_PI / 2},
        {x + w - rx, y + h - ry, 0},
        {x + rx, y + h - ry, M_PI / 2},
        {x + rx, y + ry, M_PI},
    };
    for (const Corner& c : corners) {
        cairo_save(cr);
        cairo_translate(cr, c.cx, c.cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, c.from, c.from + M_PI / 2);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

// ---- colours -----------------------------------------------------------------------

double Linear(DWORD channel) {
    double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(DWORD argb) {
    return 0.2126 * Linear((argb >> 16) & 0xFF) + 0.7152 * Linear((argb >> 8) & 0xFF) +
           0.0722 * Linear(argb & 0xFF);
}

}  // namespace

// ---- picture texts -------------------------------------------------------------------

bool CRenderEngine::ParseImageString(const char* text, ImageAttributes* out) {
    if (!out) return false;
    *out = ImageAttributes();
    ApplyImageString(text, out);
    return !out->file.empty();
}

bool CRenderEngine::DrawImageString(cairo_t* cr, CPaintManagerUI* manager, const RECT& rcItem,
                                    const RECT& rcPaint, const char* image, const char* modify) {
    ImageAttributes attrs;
    ApplyImageString(image, &attrs);
    if (modify) ApplyImageString(modify, &attrs);
    if (attrs.file.empty()) return false;
    const ImageData* data = manager ? manager->GetImageEx(attrs.file.c_str(), attrs.mask)
                                    : CResourceCache::Default().GetImage(attrs.file.c_str(),
                                                                         attrs.mask);
    if (!data || !data->surface) return false;
    if (!cr) return true;

    CRect dest(rcItem);
    if (!IsNullRect(attrs.dest)) {
        dest = CRect(rcItem.left + attrs.dest.left, rcItem.top + attrs.dest.top,
                     rcItem.left + attrs.dest.right, rcItem.top + attrs.dest.bottom);
        dest.right = std::min(dest.right, rcItem.right);
        dest.bottom = std::min(dest.bottom, rcItem.bottom);
    }
    RECT source = attrs.source;
    if (attrs.alignRight) AlignRight(data, &dest, &source);
    CRect paint;
    if (dest.IsEmpty() || !paint.Intersect(rcPaint, rcItem)) return true;
    DrawImage(cr, data, dest, paint, source, attrs.corner, attrs.fade, attrs.hole,
              attrs.xtiled, attrs.ytiled);
    return true;
}

void CRenderEngine::DrawImage(cairo_t* cr, const ImageData* image, const RECT& rcDest,
                              const RECT& rcPaint, const RECT& rcSource, const RECT& rcCorner,
                              BYTE fade, bool hole, bool xtiled, bool ytiled) {
    if (!cr || !image || !image->surface || fade == 0) return;
    CRect dest(rcDest), clip;
    if (dest.IsEmpty() || !clip.Intersect(dest, rcPaint)) return;

    CRect src(rcSource);
    if (src.IsEmpty()) src = CRect(0, 0, image->width, image->height);
    src.left = std::max(src.left, 0L);
    src.top = std::max(src.top, 0L);
    src.right = std::min(src.right, static_cast<LONG>(image->width));
    src.bottom = std::min(src.bottom, static_cast<LONG>(image->height));
    if (src.IsEmpty()) return;

    cairo_surface_t* surface = image->surface.get();
    double kx = 1, ky = 1;  // chosen surface pixels per logical picture pixel
    const double deviceScale = EffectiveScale(cr);
    cairo_surface_t* twin = deviceScale > 1.25 ? image->Surface2x() : nullptr;
    if (twin && image->width > 0 && image->height > 0) {
        surface = twin;
        kx = cairo_image_surface_get_width(surface) / static_cast<double>(image->width);
        ky = cairo_image_surface_get_height(surface) / static_cast<double>(image->height);
    }

    // Source margins fit in the source part, destination margins in the destination.
    double sl = rcCorner.left, sr = rcCorner.right, st = rcCorner.top, sb = rcCorner.bottom;
    FitMargins(src.GetWidth(), &sl, &sr);
    FitMargins(src.GetHeight(), &st, &sb);
    double dl = sl, dr = sr, dt = st, db = sb;
    FitMargins(dest.GetWidth(), &dl, &dr);
    FitMargins(dest.GetHeight(), &dt, &db);

    const double sxs[4] = {double(src.left), src.left + sl, src.right - sr, double(src.right)};
    const double sys[4] = {double(src.top), src.top + st, src.bottom - sb, double(src.bottom)};
    const double dxs[4] = {double(dest.left), dest.left + dl, dest.right - dr, double(dest.right)};
    const double dys[4] = {double(dest.top), dest.top + dt, dest.bottom - db, double(dest.bottom)};
    const double alpha = fade / 255.0;

    cairo_save(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.GetWidth(), clip.GetHeight());
    cairo_clip(cr);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const bool centre = row == 1 && col == 1;
            if (centre && hole) continue;
            Patch p{sxs[col] * kx, sys[row] * ky, (sxs[col + 1] - sxs[col]) * kx,
                    (sys[row + 1] - sys[row]) * ky, dxs[col], dys[row],
                    dxs[col + 1] - dxs[col], dys[row + 1] - dys[row]};
            if (centre && (xtiled || ytiled))
                PaintTiled(cr, surface, p, kx, ky, deviceScale, xtiled, ytiled, alpha);
            else
                PaintStretched(cr, surface, p, deviceScale, alpha);
        }
    }
    cairo_restore(cr);
}

// ---- shapes ------------------------------------------------------------------------

void CRenderEngine::DrawColor(cairo_t* cr, const RECT& rc, DWORD color) {
    if (!cr || (color >> 24) == 0) return;
    CRect r(rc);
    if (r.IsEmpty()) return;
    cairo_save(cr);
    SetSourceArgb(cr, color);
    cairo_rectangle(cr, r.left, r.top, r.GetWidth(), r.GetHeight());
    cairo_fill(cr);
    cairo_restore(cr);
}

void CRenderEngine::DrawGradient(cairo_t* cr, const RECT& rc, DWORD top, DWORD bottom) {
    if (!cr) return;
    CRect r(rc);
    if (r.IsEmpty() || ((top >> 24) == 0 && (bottom >> 24) == 0)) return;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, r.top, 0, r.bottom);
    auto stop = [gradient](double at, DWORD c) {
        cairo_pattern_add_color_stop_rgba(gradient, at, ((c >> 16) & 0xFF) / 255.0,
                                          ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                                          ((c >> 24) & 0xFF) / 255.0);
    };
    stop(0, top);
    stop(1, bottom);
    cairo_save(cr);
    cairo_set_source(cr, gradient);
    cairo_rectangle(cr, r.left, r.top, r.GetWidth(), r.GetHeight());
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(gradient);
}

void CRenderEngine::DrawLine(cairo_t* cr, const RECT& rc, int size, DWORD color) {
    if (!cr || (color >> 24) == 0) return;
    if (size <= 0) size = 1;
    // Odd widths on whole coordinates straddle two pixel rows: shift half a pixel so
    // straight lines stay crisp.
    const double half = (size % 2) ? 0.5 : 0.0;
    double x1 = rc.left, y1 = rc.top, x2 = rc.right, y2 = rc.bottom;
    if (rc.top == rc.bottom) y1 = y2 = rc.top + half;
    if (rc.left == rc.right) x1 = x2 = rc.left + half;
    cairo_save(cr);
    SetSourceArgb(cr, color);
    cairo_set_line_width(cr, size);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CRenderEngine::DrawRect(cairo_t* cr, const RECT& rc, int size, DWORD color) {
    if (!cr || (color >> 24) == 0) return;
    CRect r(rc);
    if (r.IsEmpty()) return;
    if (size <= 0) size = 1;
    cairo_save(cr);
    SetSourceArgb(cr, color);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, r.left, r.top, r.GetWidth(), r.GetHeight());
    if (2 * size < r.GetWidth() && 2 * size < r.GetHeight())
        cairo_rectangle(cr, r.left + size, r.top + size, r.GetWidth() - 2 * size,
                        r.GetHeight() - 2 * size);
    cairo_fill(cr);
    cairo_restore(cr);
}

void CRenderEngine::DrawRoundRect(cairo_t* cr, const RECT& rc, int size, int width, int height,
                                  DWORD color) {
    if (!cr || (color >> 24) == 0) return;
    CRect r(rc);
    if (r.IsEmpty()) return;
    if (size <= 0) size = 1;
    const double inset = size / 2.0;
    cairo_save(cr);
    SetSourceArgb(cr, color);
    cairo_set_line_width(cr, size);
    RoundedRectPath(cr, r.left + inset, r.top + inset, r.GetWidth() - size, r.GetHeight() - size,
                    std::max(0.0, width / 2.0 - inset), std::max(0.0, height / 2.0 - inset));
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CRenderEngine::FillRoundRect(cairo_t* cr, const RECT& rc, int width, int height,
                                  DWORD color) {
    if (!cr || (color >> 24) == 0) return;
    CRect r(rc);
    if (r.IsEmpty()) return;
    cairo_save(cr);
    SetSourceArgb(cr, color);
    RoundedRectPath(cr, r.left, r.top, r.GetWidth(), r.GetHeight(), width / 2.0, height / 2.0);
    cairo_fill(cr);
    cairo_restore(cr);
}

// ---- colours -------------------------------------------------------------------------

DWORD CRenderEngine::AdjustColor(DWORD argb, short h, short s, short l) {
    float hue = 0, sat = 0, lum = 0;
    RGBtoHSL(argb, &hue, &sat, &lum);
    hue = std::fmod(hue + h, 360.0f);
    if (hue < 0) hue += 360.0f;
    sat = std::clamp(sat + s, 0.0f, 100.0f);
    lum = std::clamp(lum + l, 0.0f, 100.0f);
    return (argb & 0xFF000000u) | (HSLtoRGB(hue, sat, lum) & 0x00FFFFFFu);
}

double CRenderEngine::ContrastRatio(DWORD a, DWORD b) {
    double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

DWORD CRenderEngine::ReadableTextColor(DWORD background) {
    auto better = [background](DWORD light, DWORD dark) {
        return ContrastRatio(background, light) >= ContrastRatio(background, dark) ? light : dark;
    };
    const DWORD soft = better(0xFFF8F8F8, 0xFF121212);
    if (ContrastRatio(background, soft) >= kBodyTextContrast) return soft;
    return better(0xFFFFFFFF, 0xFF000000);
}

}  // namespace uilib
