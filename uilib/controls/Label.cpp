#include "uilib/controls/Label.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "uilib/AttributeValue.h"

namespace uilib {

namespace {

// "center,vcenter" and the like: each word sets one axis.
UINT ApplyAlign(UINT style, const char* value) {
    struct Word {
        const char* word;
        UINT clear, set;
    };
    static const Word kWords[] = {
        {"left", DT_CENTER | DT_RIGHT, DT_LEFT},
        {"center", DT_RIGHT, DT_CENTER},
        {"right", DT_CENTER, DT_RIGHT},
        {"top", DT_VCENTER | DT_BOTTOM, DT_TOP},
        {"vcenter", DT_BOTTOM, DT_VCENTER},
        {"bottom", DT_VCENTER, DT_BOTTOM},
    };
    std::string v(value ? value : "");
    size_t pos = 0;
    while (pos <= v.size()) {
        size_t end = v.find_first_of(", ", pos);
        if (end == std::string::npos) end = v.size();
        std::string w = v.substr(pos, end - pos);
        for (const Word& k : kWords)
            if (w == k.word) style = (style & ~k.clear) | k.set;
        pos = end + 1;
    }
    return style;
}

}  // namespace

CLabelUI::CLabelUI() = default;

const char* CLabelUI::GetClass() const { return "LabelUI"; }

void* CLabelUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Label") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CLabelUI::SetTextStyle(UINT style) {
    m_uTextStyle = style;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD c) {
    m_dwTextColor = c;
    m_bAutoTextColor = false;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD c) {
    m_dwDisabledTextColor = c;
    Invalidate();
}

void CLabelUI::SetAutoTextColor(bool autoColor) {
    m_bAutoTextColor = autoColor;
    Invalidate();
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

DWORD CLabelUI::GetBackgroundBehind() const { return BackgroundBehind(this, GetStateBkColor()); }

DWORD CLabelUI::GetEffectiveTextColor() const {
    if (!IsEnabled()) {
        if (m_dwDisabledTextColor) return m_dwDisabledTextColor;
        return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
    }
    if (m_bAutoTextColor) {
        DWORD behind = GetBackgroundBehind();
        if (behind) return CRenderEngine::ReadableTextColor(behind);
    }
    if (m_dwTextColor) return m_dwTextColor;
    return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF000000;
}

SIZE CLabelUI::EstimateSize(SIZE available) { return CControlUI::EstimateSize(available); }

void CLabelUI::SetAttribute(const char* name, const char* value) {
    using Setter = void (*)(CLabelUI*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"font", [](CLabelUI* c, const char* v) { c->SetFont(attr::ParseInt(v, -1)); }},
        {"textcolor",
         [](CLabelUI* c, const char* v) {
             if (std::strcmp(v, "auto") == 0)
                 c->SetAutoTextColor(true);
             else
                 c->SetTextColor(attr::ParseColor(v));
         }},
        {"disabledtextcolor",
         [](CLabelUI* c, const char* v) { c->SetDisabledTextColor(attr::ParseColor(v)); }},
        {"align", [](CLabelUI* c, const char* v) { c->SetTextStyle(ApplyAlign(c->GetTextStyle(), v)); }},
        {"valign", [](CLabelUI* c, const char* v) { c->SetTextStyle(ApplyAlign(c->GetTextStyle(), v)); }},
        {"wordbreak",
         [](CLabelUI* c, const char* v) {
             UINT s = c->GetTextStyle();
             s = attr::ParseBool(v) ? ((s | DT_WORDBREAK) & ~DT_SINGLELINE)
                                    : ((s & ~DT_WORDBREAK) | DT_SINGLELINE);
             c->SetTextStyle(s);
         }},
        {"endellipsis",
         [](CLabelUI* c, const char* v) {
             UINT s = c->GetTextStyle();
             c->SetTextStyle(attr::ParseBool(v) ? (s | DT_END_ELLIPSIS) : (s & ~DT_END_ELLIPSIS));
         }},
        {"singleline",
         [](CLabelUI* c, const char* v) {
             UINT s = c->GetTextStyle();
             s = attr::ParseBool(v) ? ((s | DT_SINGLELINE) & ~DT_WORDBREAK) : (s & ~DT_SINGLELINE);
             c->SetTextStyle(s);
         }},
        {"textpadding",
         [](CLabelUI* c, const char* v) { c->SetTextPadding(attr::ParseRect(v)); }},
    };
    auto it = name ? table.find(name) : table.end();
    if (it != table.end()) {
        it->second(this, value ? value : "");
        return;
    }
    CControlUI::SetAttribute(name, value);
}

void CLabelUI::DrawLabelText(cairo_t* cr, const CStdString& text, DWORD color) {
    if (text.empty()) return;
    RECT rc{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
            m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    CRenderEngine::DrawText(cr, m_pManager, rc, text.c_str(), color, m_iFont,
                            m_uTextStyle | DT_NOPREFIX);
}

void CLabelUI::PaintText(cairo_t* cr) { DrawLabelText(cr, GetText(), GetEffectiveTextColor()); }

}  // namespace uilib
