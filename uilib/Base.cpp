#include "uilib/Base.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace uilib {

// ---- CStdString ----

int CStdString::FormatV(const char* fmt, va_list args) {
    if (!fmt) {
        clear();
        return 0;
    }
    va_list measure;
    va_copy(measure, args);
    int needed = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (needed < 0) {  // an encoding error: leave a clear, empty result
        clear();
        return 0;
    }
    std::vector<char> buffer(static_cast<size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
    assign(buffer.data(), static_cast<size_t>(needed));
    return needed;
}

int CStdString::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    int n = FormatV(fmt, args);
    va_end(args);
    return n;
}

CStdString CStdString::Printf(const char* fmt, ...) {
    CStdString out;
    va_list args;
    va_start(args, fmt);
    out.FormatV(fmt, args);
    va_end(args);
    return out;
}

static char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
static char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int CStdString::CompareNoCase(const char* other) const {
    if (!other) other = "";
    const unsigned char* a = reinterpret_cast<const unsigned char*>(c_str());
    const unsigned char* b = reinterpret_cast<const unsigned char*>(other);
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(AsciiLower(static_cast<char>(*a)));
        unsigned char cb = static_cast<unsigned char>(AsciiLower(static_cast<char>(*b)));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!ca) return 0;
    }
}

CStdString CStdString::Left(int n) const {
    size_t count = n <= 0 ? 0 : std::min(static_cast<size_t>(n), size());
    return CStdString(substr(0, count));
}

CStdString CStdString::Mid(int pos, int n) const {
    size_t start = pos <= 0 ? 0 : static_cast<size_t>(pos);
    if (start >= size()) return CStdString();
    size_t count = n < 0 ? npos : static_cast<size_t>(n);
    return CStdString(substr(start, count));
}

CStdString CStdString::Right(int n) const {
    size_t count = n <= 0 ? 0 : std::min(static_cast<size_t>(n), size());
    return CStdString(substr(size() - count));
}

int CStdString::Find(const char* what, int start) const {
    if (!what) return -1;
    size_t from = start <= 0 ? 0 : static_cast<size_t>(start);
    if (from > size()) return -1;
    size_t at = find(what, from);
    return at == npos ? -1 : static_cast<int>(at);
}

int CStdString::Find(char c, int start) const {
    size_t from = start <= 0 ? 0 : static_cast<size_t>(start);
    if (from >= size()) return -1;
    size_t at = find(c, from);
    return at == npos ? -1 : static_cast<int>(at);
}

int CStdString::Replace(const char* from, const char* to) {
    if (!from || !*from) return 0;
    std::string pattern(from), replacement(to ? to : "");
    std::string out;
    int count = 0;
    size_t pos = 0;
    for (size_t at; (at = find(pattern, pos)) != npos; pos = at + pattern.size()) {
        out.append(*this, pos, at - pos);
        out += replacement;
        ++count;
    }
    if (count == 0) return 0;
    out.append(*this, pos, npos);
    assign(std::move(out));
    return count;
}

void CStdString::MakeUpper() { std::transform(begin(), end(), begin(), AsciiUpper); }
void CStdString::MakeLower() { std::transform(begin(), end(), begin(), AsciiLower); }

// ---- CRect ----

void CRect::Join(const RECT& r) {
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
}

void CRect::Normalize() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

bool CRect::Intersect(const RECT& a, const RECT& b) {
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    if (r.IsEmpty() || CRect(a).IsEmpty() || CRect(b).IsEmpty()) {
        Empty();
        return false;
    }
    *this = r;
    return true;
}

bool CRect::Union(const RECT& a, const RECT& b) {
    bool aEmpty = CRect(a).IsEmpty(), bEmpty = CRect(b).IsEmpty();
    if (aEmpty && bEmpty) {
        Empty();
        return false;
    }
    if (aEmpty) *this = CRect(b);
    else if (bEmpty) *this = CRect(a);
    else {
        *this = CRect(a);
        Join(b);
    }
    return true;
}

bool IntersectRect(RECT* out, const RECT* a, const RECT* b) {
    if (!out) return false;
    CRect r;
    bool any = a && b && r.Intersect(*a, *b);
    *out = r;
    return any;
}

bool PtInRect(const RECT* r, POINT pt) { return r && CRect(*r).PtIn(pt); }

// ---- program folder ----

namespace {
CStdString& AppPathOverride() {
    static CStdString path;
    return path;
}

CStdString BinaryFolder() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return CStdString("./");
        if (static_cast<size_t>(n) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(n));
            size_t slash = path.rfind('/');
            return CStdString(slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1));
        }
        buffer.resize(buffer.size() * 2);  // the path may be longer than any guess
    }
}
}  // namespace

CStdString GetAppPath() {
    const CStdString& forced = AppPathOverride();
    if (!forced.empty()) return forced.back() == '/' ? forced : CStdString(forced + "/");
    static const CStdString folder = BinaryFolder();
    return folder;
}

void SetAppPathForTesting(const CStdString& path) { AppPathOverride() = path; }

// ---- colours ----

void RGBtoHSL(DWORD argb, float* h, float* s, float* l) {
    float r = ((argb >> 16) & 0xFF) / 255.0f;
    float g = ((argb >> 8) & 0xFF) / 255.0f;
    float b = (argb & 0xFF) / 255.0f;
    float maxc = std::max({r, g, b}), minc = std::min({r, g, b});
    float lum = (maxc + minc) / 2.0f;
    float hue = 0.0f, sat = 0.0f;
    float delta = maxc - minc;
    if (delta > 0.0f) {
        sat = lum <= 0.5f ? delta / (maxc + minc) : delta / (2.0f - maxc - minc);
        if (maxc == r) hue = (g - b) / delta + (g < b ? 6.0f : 0.0f);
        else if (maxc == g) hue = (b - r) / delta + 2.0f;
        else hue = (r - g) / delta + 4.0f;
        hue *= 60.0f;
    }
    if (h) *h = hue;
    if (s) *s = sat * 100.0f;
    if (l) *l = lum * 100.0f;
}

static float HueToChannel(float p, float q, float t) {
    if (t < 0.0f) t += 1.0f;
    if (t > 1.0f) t -= 1.0f;
    if (t < 1.0f / 6.0f) return p + (q - p) * 6.0f * t;
    if (t < 0.5f) return q;
    if (t < 2.0f / 3.0f) return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

DWORD HSLtoRGB(float h, float s, float l) {
    float hue = std::fmod(h, 360.0f);
    if (hue < 0.0f) hue += 360.0f;
    hue /= 360.0f;
    float sat = std::clamp(s, 0.0f, 100.0f) / 100.0f;
    float lum = std::clamp(l, 0.0f, 100.0f) / 100.0f;
    float r = lum, g = lum, b = lum;
    if (sat > 0.0f) {
        float q = lum < 0.5f ? lum * (1.0f + sat) : lum + sat - lum * sat;
        float p = 2.0f * lum - q;
        r = HueToChannel(p, q, hue + 1.0f / 3.0f);
        g = HueToChannel(p, q, hue);
        b = HueToChannel(p, q, hue - 1.0f / 3.0f);
    }
    auto byte = [](float v) {
        return static_cast<DWORD>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    return (byte(r) << 16) | (byte(g) << 8) | byte(b);
}


std::string EncodeUtf8(uint32_t cp) {
    std::string out;
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

}  // namespace uilib
