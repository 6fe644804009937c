// The edit control's UTF-8 helpers: the text stays valid and moves by whole characters.
#include "uilib/controls/Edit.h"

namespace uilib {

std::string CEditUI::EncodeCodePoint(uint32_t cp) { return EncodeUtf8(cp); }

std::string CEditUI::Sanitize(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool ok = len > 0 && i + len <= text.size();
        uint32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; ok && k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(text[i + k]);
            if (!IsUtf8Continuation(cc)) ok = false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and points past U+10FFFF are not valid UTF-8.
        static const uint32_t kMinForLength[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kMinForLength[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) ok = false;
        if (ok && cp != 0) {
            out.append(text, i, len);
            i += len;
        } else {
            if (cp != 0 || !ok) out += "\xEF\xBF\xBD";
            i += ok ? len : 1;
        }
    }
    return out;
}

int CEditUI::NextCharOffset(const std::string& s, int offset) {
    int n = static_cast<int>(s.size());
    if (offset >= n) return n;
    ++offset;
    while (offset < n && IsUtf8Continuation(static_cast<unsigned char>(s[offset]))) ++offset;
    return offset;
}

int CEditUI::PrevCharOffset(const std::string& s, int offset) {
    if (offset <= 0) return 0;
    --offset;
    while (offset > 0 && IsUtf8Continuation(static_cast<unsigned char>(s[offset]))) --offset;
    return offset;
}

int CEditUI::CountChars(const std::string& s) {
    int n = 0;
    for (unsigned char c : s) {
        if (!IsUtf8Continuation(c)) ++n;
    }
    return n;
}

}  // namespace uilib
