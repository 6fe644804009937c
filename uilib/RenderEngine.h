// Drawing with cairo and pango: pictures (PNG, JPEG, ICO) described by picture texts,
// colours, borders and text.
#pragma once

#include <memory>
#include <string>

#include "uilib/Base.h"

typedef struct _cairo_surface cairo_surface_t;

namespace uilib {

class CPaintManagerUI;

struct CairoSurfaceDeleter {
    void operator()(cairo_surface_t* surface) const;
};
// A cairo surface with one owner: destroyed with it.
using SurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceDeleter>;

// A decoded picture. Pictures whose file name has a "@2x" twin beside it keep both;
// the drawing picks the one that fits the device scale. The cache owns each picture
// once and hands out pointers, so a picture moves but is never copied.
struct ImageData {
    ImageData() = default;
    ImageData(const ImageData&) = delete;
    ImageData& operator=(const ImageData&) = delete;
    ImageData(ImageData&&) = default;
    ImageData& operator=(ImageData&&) = default;

    SurfacePtr surface;                    // ARGB32 or RGB24, premultiplied
    int width = 0, height = 0;             // logical size (the 1x picture)
    bool hasAlpha = false;                 // some pixel is not opaque
    // The double-resolution twin, decoded on first use: most screens never need it,
    // and decoding every twin at start-up would cost four times the pixels.
    cairo_surface_t* Surface2x() const;

    std::string twinPath;  // where the twin would be; empty when none
    DWORD mask = 0;
    mutable SurfacePtr surface2x;
    mutable bool twinTried = false;
};

// The parsed form of a picture text:
//   "name.png"  or  "file='skin\river.PNG' dest='0,0,10,10' source='0,0,10,10'
//   corner='4,4,4,4' mask='#FFFF00FF' fade='128' hole='false' xtiled='false' ytiled='false'
//   align='right'"
// Either path separator is accepted. Rectangles are left,top,right,bottom.
struct ImageAttributes {
    CStdString file;
    RECT dest{};      // relative to the item rectangle; empty = the whole item
    RECT source{};    // part of the picture; empty = the whole picture
    RECT corner{};    // nine-patch margins kept unscaled
    DWORD mask = 0;   // this colour becomes transparent (0 = none)
    BYTE fade = 255;  // overall opacity
    bool hole = false;    // nine-patch without its centre
    bool xtiled = false, ytiled = false;
    // At its own width against the right edge of the box, cut on the left where the box
    // is narrower (a picture that must not be squeezed).
    bool alignRight = false;
};

class CRenderEngine {
public:
    // Loads the font configuration on a background thread, so that it is ready by the
    // time the first text is measured. Call once, early; harmless to skip.
    static void PrepareFontsInBackground();

    // Picture texts
    static bool ParseImageString(const char* text, ImageAttributes* out);
    // Decode a file (PNG, JPEG, ICO by content); nullptr on failure.
    static std::unique_ptr<ImageData> LoadImage(const char* path, DWORD mask = 0);

    // Draw a picture text into rcItem (modify is a second picture text whose keys
    // override, e.g. "dest='0,0,10,10'"). False when the picture cannot be loaded.
    static bool DrawImageString(cairo_t* cr, CPaintManagerUI* manager, const RECT& rcItem,
                                const RECT& rcPaint, const char* image,
                                const char* modify = nullptr);
    static void DrawImage(cairo_t* cr, const ImageData* image, const RECT& rcDest,
                          const RECT& rcPaint, const RECT& rcSource, const RECT& rcCorner,
                          BYTE fade = 255, bool hole = false, bool xtiled = false,
                          bool ytiled = false);

    // Shapes (colours ARGB; a colour with alpha 0 draws nothing)
    static void DrawColor(cairo_t* cr, const RECT& rc, DWORD color);
    static void DrawGradient(cairo_t* cr, const RECT& rc, DWORD top, DWORD bottom);
    static void DrawLine(cairo_t* cr, const RECT& rc, int size, DWORD color);
    static void DrawRect(cairo_t* cr, const RECT& rc, int size, DWORD color);
    static void DrawRoundRect(cairo_t* cr, const RECT& rc, int size, int width, int height,
                              DWORD color);
    static void FillRoundRect(cairo_t* cr, const RECT& rc, int width, int height, DWORD color);

    // Text. style: DT_ flags below. Fonts by id from the manager (-1 = default); with no
    // manager, from CResourceCache::Default(). A colour with alpha 0 is drawn opaque.
    // Vertical alignment applies to wrapped text too; '&' is drawn as it is (no prefixes).
    static void DrawText(cairo_t* cr, CPaintManagerUI* manager, RECT& rc, const char* text,
                         DWORD color, int font, UINT style);
    // Size the text needs (DT_CALCRECT semantics: width limited by rc for DT_WORDBREAK).
    static SIZE GetTextSize(CPaintManagerUI* manager, const char* text, int font, UINT style,
                            int maxWidth = 0);
    // Byte offset in text of the caret position nearest to x (single line, relative to
    // the text start), and the x of a byte offset: used by the edit field.
    static int HitTestText(CPaintManagerUI* manager, const char* text, int font, int x);
    static int TextOffsetToX(CPaintManagerUI* manager, const char* text, int font, int offset);
    // Characters of text that the font and its fallbacks have no glyph for (drawn as
    // boxes): 0 when every script in text can be shown.
    static int CountUnknownGlyphs(CPaintManagerUI* manager, const char* text, int font);

    // Colour helpers
    static DWORD AdjustColor(DWORD argb, short h, short s, short l);  // shifts on the HSL scale
    static double ContrastRatio(DWORD a, DWORD b);                     // WCAG contrast
    // Body text must reach this contrast on its background.
    static constexpr double kBodyTextContrast = 4.5;
    // The text colour for a background: the softer of near-white and near-black that
    // contrasts more, or pure white or black where neither reaches kBodyTextContrast
    // (mid-tones; one of the two always does).
    static DWORD ReadableTextColor(DWORD background);
};

// Text style flags (Windows DrawText numbers).
constexpr UINT DT_TOP = 0x0000, DT_LEFT = 0x0000, DT_CENTER = 0x0001, DT_RIGHT = 0x0002,
               DT_VCENTER = 0x0004, DT_BOTTOM = 0x0008, DT_WORDBREAK = 0x0010,
               DT_SINGLELINE = 0x0020, DT_CALCRECT = 0x0400, DT_NOPREFIX = 0x0800,
               DT_END_ELLIPSIS = 0x8000;

}  // namespace uilib
