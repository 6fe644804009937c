// Text drawing and measuring with pango. Everything here runs on the UI thread: the
// layouts and font descriptions are shared and reused so long lists repaint cheaply.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <unordered_map>

#include "uilib/PaintManager.h"
#include "uilib/RenderEngine.h"
#include "uilib/ResourceCache.h"

namespace uilib {

namespace {

struct TextState {
    PangoContext* measureContext = nullptr;
    PangoLayout* measureLayout = nullptr;
    PangoContext* drawContext = nullptr;
    PangoLayout* drawLayout = nullptr;
    PangoAttrList* underline = nullptr;
    std::unordered_map<std::string, PangoFontDescription*> fonts;

    TextState() {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        // Unhinted metrics in both contexts, so a size measured without a surface
        // matches what is drawn and a rect sized by DT_CALCRECT never ellipsizes.
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        measureContext = pango_font_map_create_context(map);
        drawContext = pango_font_map_create_context(map);
        pango_cairo_context_set_font_options(measureContext, options);
        pango_cairo_context_set_font_options(drawContext, options);
        cairo_font_options_destroy(options);
        measureLayout = pango_layout_new(measureContext);
        drawLayout = pango_layout_new(drawContext);
        underline = pango_attr_list_new();
        pango_attr_list_insert(underline, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
};

// Kept for the life of the process: pango objects must not be torn down by static
// destructors after the font map is gone.
TextState& State() {
    static TextState* state = new TextState();
    return *state;
}

const TFontInfo& ResolveFont(CPaintManagerUI* manager, int font) {
    return manager ? manager->GetFont(font) : CResourceCache::Default().GetFont(font);
}

PangoFontDescription* FontDescription(const TFontInfo& info) {
    const int size = std::clamp(info.size, 1, 1000);
    std::string key = info.family;
    key += '\x1f';
    key += std::to_string(size);
    key += info.bold ? 'b' : '-';
    key += info.italic ? 'i' : '-';
    auto& fonts = State().fonts;
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    PangoFontDescription* desc = pango_font_description_new();
    // Unknown families fall back through fontconfig, which also supplies CJK glyphs.
    pango_font_description_set_family(desc, info.family.empty() ? "Sans" : info.family.c_str());
    pango_font_description_set_absolute_size(desc, size * PANGO_SCALE);
    pango_font_description_set_weight(desc, info.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_font_description_set_style(desc, info.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    fonts.emplace(std::move(key), desc);
    return desc;
}

// Text as pango wants it: valid UTF-8, and for single lines no line breaks (each
// replaced by one space so byte offsets stay the same).
std::string PrepareText(const char* text, bool singleLine) {
    std::string s = text ? text : "";
    if (!g_utf8_validate(s.data(), static_cast<gssize>(s.size()), nullptr)) {
        gchar* valid = g_utf8_make_valid(s.data(), static_cast<gssize>(s.size()));
        s = valid;
        g_free(valid);
    }
    if (singleLine)
        std::replace_if(s.begin(), s.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return s;
}

struct LayoutBox {
    int width = -1;   // wrap or ellipsize within this many pixels; -1: natural width
    int height = -1;  // with word breaks and ellipsis: the last line that fits ends in "..."
};

void SetUp(PangoLayout* layout, const std::string& text, const TFontInfo& font, UINT style,
           LayoutBox box) {
    pango_layout_set_font_description(layout, FontDescription(font));
    pango_layout_set_attributes(layout, font.underline ? State().underline : nullptr);
    pango_layout_set_single_paragraph_mode(layout, FALSE);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    const bool wrap = (style & DT_WORDBREAK) && !(style & DT_SINGLELINE);
    const bool ellipsis = (style & DT_END_ELLIPSIS) != 0;
    if (box.width > 0 && (wrap || ellipsis)) {
        pango_layout_set_width(layout, box.width * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        pango_layout_set_ellipsize(layout, ellipsis ? PANGO_ELLIPSIZE_END : PANGO_ELLIPSIZE_NONE);
        pango_layout_set_height(
            layout, (wrap && ellipsis && box.height > 0) ? box.height * PANGO_SCALE : -1);
        PangoAlignment align = (style & DT_CENTER)  ? PANGO_ALIGN_CENTER
                               : (style & DT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                    : PANGO_ALIGN_LEFT;
        pango_layout_set_alignment(layout, align);
    } else {
        pango_layout_set_width(layout, -1);
        pango_layout_set_height(layout, -1);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_NONE);
        pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
    }
}

PangoLayout* MeasureLayout(CPaintManagerUI* manager, const char* text, int font, UINT style,
                           int maxWidth) {
    PangoLayout* layout = State().measureLayout;
    LayoutBox box;
    if ((style & DT_WORDBREAK) && maxWidth > 0) box.width = maxWidth;
    SetUp(layout, PrepareText(text, (style & DT_SINGLELINE) != 0), ResolveFont(manager, font),
          style & ~DT_END_ELLIPSIS, box);
    return layout;
}

// A single-line layout for caret work: offsets into the caller's text stay valid.
PangoLayout* CaretLayout(CPaintManagerUI* manager, const char* text, int font) {
    PangoLayout* layout = State().measureLayout;
    SetUp(layout, PrepareText(text, true), ResolveFont(manager, font), DT_SINGLELINE,
          LayoutBox());
    return layout;
}

}  // namespace

void CRenderEngine::DrawText(cairo_t* cr, CPaintManagerUI* manager, RECT& rc, const char* text,
                             DWORD color, int font, UINT style) {
    if (style & DT_CALCRECT) {
        const int width = rc.right - rc.left;
        SIZE size = GetTextSize(manager, text, font, style, (style & DT_WORDBREAK) ? width : 0);
        rc.right = rc.left + size.cx;
        rc.bottom = rc.top + size.cy;
        return;
    }
    CRect r(rc);
    if (!cr || !text || !*text || r.IsEmpty()) return;

    TextState& state = State();
    pango_cairo_update_context(cr, state.drawContext);
    PangoLayout* layout = state.drawLayout;
    LayoutBox box;
    box.width = r.GetWidth();
    box.height = r.GetHeight();
    SetUp(layout, PrepareText(text, (style & DT_SINGLELINE) != 0), ResolveFont(manager, font),
          style, box);

    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    double x = r.left, y = r.top;
    if (pango_layout_get_width(layout) < 0) {
        // Natural width: align the whole block ourselves.
        const int free = r.GetWidth() - logical.width;
        x -= logical.x;
        if (style & DT_CENTER) x += free / 2;
        else if (style & DT_RIGHT) x += free;
    }
    const int freeHeight = r.GetHeight() - logical.height;
    if (style & DT_VCENTER) y += freeHeight / 2;
    else if (style & DT_BOTTOM) y += freeHeight;

    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.GetWidth(), r.GetHeight());
    cairo_clip(cr);
    // Colours from layouts often come without alpha; invisible text is never meant.
    const double alpha = (color >> 24) ? ((color >> 24) & 0xFF) / 255.0 : 1.0;
    cairo_set_source_rgba(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                          (color & 0xFF) / 255.0, alpha);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
}

SIZE CRenderEngine::GetTextSize(CPaintManagerUI* manager, const char* text, int font, UINT style,
                                int maxWidth) {
    PangoLayout* layout = MeasureLayout(manager, text, font, style, maxWidth);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    SIZE size;
    size.cx = (text && *text) ? logical.width : 0;
    size.cy = logical.height;
    return size;
}

int CRenderEngine::HitTestText(CPaintManagerUI* manager, const char* text, int font, int x) {
    if (!text || !*text || x <= 0) return 0;
    const int length = static_cast<int>(strlen(text));
    PangoLayout* layout = CaretLayout(manager, text, font);
    int index = 0, trailing = 0;
    pango_layout_xy_to_index(layout, x * PANGO_SCALE, 0, &index, &trailing);
    const char* layoutText = pango_layout_get_text(layout);
    const int layoutLength = static_cast<int>(strlen(layoutText));
    index = std::clamp(index, 0, layoutLength);
    for (; trailing > 0 && index < layoutLength; --trailing)
        index = static_cast<int>(g_utf8_next_char(layoutText + index) - layoutText);
    return std::min(index, length);
}

int CRenderEngine::TextOffsetToX(CPaintManagerUI* manager, const char* text, int font,
                                 int offset) {
    if (!text || !*text || offset <= 0) return 0;
    PangoLayout* layout = CaretLayout(manager, text, font);
    const char* layoutText = pango_layout_get_text(layout);
    const int length = static_cast<int>(strlen(layoutText));
    offset = std::min(offset, length);
    // Inside a multi-byte character: use the start of that character.
    while (offset > 0 && offset < length && (layoutText[offset] & 0xC0) == 0x80) --offset;
    if (offset >= length) {
        PangoRectangle logical;
        pango_layout_get_pixel_extents(layout, nullptr, &logical);
        return logical.x + logical.width;
    }
    PangoRectangle pos;
    pango_layout_index_to_pos(layout, offset, &pos);
    return PANGO_PIXELS(pos.x);
}

int CRenderEngine::CountUnknownGlyphs(CPaintManagerUI* manager, const char* text, int font) {
    if (!text || !*text) return 0;
    return pango_layout_get_unknown_glyphs_count(CaretLayout(manager, text, font));
}

void CRenderEngine::PrepareFontsInBackground() {
    // Reading the font configuration and its caches is the slowest part of the first
    // text layout; fontconfig is thread-safe, and the default configuration it builds is
    // the one pango uses later.
    std::thread([] { FcInit(); }).detach();
}

}  // namespace uilib
