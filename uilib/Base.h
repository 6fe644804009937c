// Basic types of the UI library: string, geometry, colours and the window base class.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/Platform.h"

namespace uilib {

// UTF-8 string with the few extras the window code uses.
class CStdString : public std::string {
public:
    CStdString() = default;
    CStdString(const char* s) : std::string(s ? s : "") {}
    CStdString(const std::string& s) : std::string(s) {}
    CStdString(std::string&& s) : std::string(std::move(s)) {}
    CStdString(const char* s, size_t n) : std::string(s ? s : "", s ? n : 0) {}

    const char* GetData() const { return c_str(); }
    int GetLength() const { return static_cast<int>(size()); }
    bool IsEmpty() const { return empty(); }
    void Empty() { clear(); }
    // printf semantics; returns the new length
    int Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    int FormatV(const char* fmt, va_list args);
    static CStdString Printf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    int Compare(const char* other) const { return compare(other ? other : ""); }
    int CompareNoCase(const char* other) const;  // ASCII case folding
    CStdString Left(int n) const;
    CStdString Mid(int pos, int n = -1) const;
    CStdString Right(int n) const;
    int Find(const char* what, int start = 0) const;  // -1 when absent
    int Find(char c, int start = 0) const;
    int Replace(const char* from, const char* to);      // count replaced
    void MakeUpper();
    void MakeLower();
};

class CPoint : public POINT {
public:
    CPoint() = default;
    CPoint(LONG x_, LONG y_) { x = x_; y = y_; }
    CPoint(const POINT& p) { x = p.x; y = p.y; }
    CPoint(LPARAM lParam) { x = GET_X_LPARAM(lParam); y = GET_Y_LPARAM(lParam); }
};

class CSize : public SIZE {
public:
    CSize() = default;
    CSize(LONG cx_, LONG cy_) { cx = cx_; cy = cy_; }
    CSize(const SIZE& s) { cx = s.cx; cy = s.cy; }
};

class CRect : public RECT {
public:
    CRect() = default;
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(LONG l, LONG t, LONG r, LONG b) { left = l; top = t; right = r; bottom = b; }
    LONG GetWidth() const { return right - left; }
    LONG GetHeight() const { return bottom - top; }
    bool IsNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    void Empty() { left = top = right = bottom = 0; }
    void Join(const RECT& r);  // grow to include r
    void ResetOffset() { Offset(-left, -top); }
    void Normalize();
    void Offset(LONG dx, LONG dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void Inflate(LONG dx, LONG dy) { left -= dx; right += dx; top -= dy; bottom += dy; }
    void Deflate(LONG dx, LONG dy) { Inflate(-dx, -dy); }
    bool Intersect(const RECT& a, const RECT& b);  // false (and empty) when disjoint
    bool Union(const RECT& a, const RECT& b);
    bool PtIn(POINT pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
    bool operator==(const RECT& r) const {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(const RECT& r) const { return !(*this == r); }
};

bool IntersectRect(RECT* out, const RECT* a, const RECT* b);
bool PtInRect(const RECT* r, POINT pt);

// One code point as UTF-8; empty for surrogates and values past U+10FFFF.
std::string EncodeUtf8(uint32_t cp);
// A byte inside a UTF-8 sequence, after its first.
inline bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The program folder: the folder of the running binary, ending with "/".
CStdString GetAppPath();
// Overrides the program folder (tests); empty restores the binary's folder.
void SetAppPathForTesting(const CStdString& path);

// Colour conversions on the library's scale: hue 0-360, saturation and luminance 0-100.
void RGBtoHSL(DWORD argb, float* h, float* s, float* l);
DWORD HSLtoRGB(float h, float s, float l);  // returns 0x00RRGGBB (alpha 0)

}  // namespace uilib
