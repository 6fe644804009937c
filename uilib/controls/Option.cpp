#include "uilib/controls/Option.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "uilib/AttributeValue.h"

namespace uilib {

namespace {
constexpr int kBoxMax = 16;
constexpr int kBoxGap = 6;
constexpr DWORD kAccent = 0xFF3B82F6;  // the tick box's fill without a scheme colour
}  // namespace

COptionUI::COptionUI() = default;
COptionUI::~COptionUI() = default;

const char* COptionUI::GetClass() const { return "OptionUI"; }

void* COptionUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Option") == 0) return this;
    return CButtonUI::GetInterface(name);
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.empty())
        Selected(true);
    else
        Selected(!m_bSelected);
    return true;
}

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    CButtonUI::SetManager(manager, parent, init);
}

void COptionUI::SetGroup(const char* groupName) {
    m_sGroupName = groupName ? groupName : "";
    Invalidate();
}

void COptionUI::Selected(bool selected, bool sendNotify) {
    if (m_bSelected == selected) return;
    m_bSelected = selected;
    if (selected)
        m_uButtonState |= UISTATE_SELECTED;
    else
        m_uButtonState &= ~UISTATE_SELECTED;
    Invalidate();
    if (selected && !m_sGroupName.empty() && m_pManager && m_pManager->GetRoot()) {
        // One of a group: the others of the same window let go.
        std::vector<COptionUI*> mates;
        struct Search {
            const CStdString* group;
            COptionUI* self;
            std::vector<COptionUI*>* out;
        } search{&m_sGroupName, this, &mates};
        m_pManager->GetRoot()->FindControl(
            [](CControlUI* c, void* data) -> CControlUI* {
                auto* s = static_cast<Search*>(data);
                auto* o = static_cast<COptionUI*>(c->GetInterface("Option"));
                if (o && o != s->self && o->GetGroup() == *s->group && o->IsSelected())
                    s->out->push_back(o);
                return nullptr;
            },
            &search, UIFIND_ALL);
        for (COptionUI* o : mates) o->Selected(false, sendNotify);
    }
    if (sendNotify) Notify("selectchanged", selected ? 1 : 0);
}

void COptionUI::SetSelectedImage(const char* image) { m_sSelectedImage = image; Invalidate(); }
void COptionUI::SetSelectedHotImage(const char* image) { m_sSelectedHotImage = image; Invalidate(); }
void COptionUI::SetSelectedForeImage(const char* image) { m_sSelectedForeImage = image; Invalidate(); }
void COptionUI::SetSelectedTextColor(DWORD c) { m_dwSelectedTextColor = c; Invalidate(); }
void COptionUI::SetSelectedBkColor(DWORD c) { m_dwSelectedBkColor = c; Invalidate(); }

SIZE COptionUI::EstimateSize(SIZE available) { return CButtonUI::EstimateSize(available); }

void COptionUI::SetAttribute(const char* name, const char* value) {
    using Setter = void (*)(COptionUI*, const char*);
    static const std::unordered_map<std::string, Setter> table = {
        {"group", [](COptionUI* c, const char* v) { c->SetGroup(v); }},
        {"selected", [](COptionUI* c, const char* v) { c->Selected(attr::ParseBool(v), false); }},
        {"selectedimage", [](COptionUI* c, const char* v) { c->SetSelectedImage(v); }},
        {"selectedhotimage", [](COptionUI* c, const char* v) { c->SetSelectedHotImage(v); }},
        {"selectedforeimage", [](COptionUI* c, const char* v) { c->SetSelectedForeImage(v); }},
        {"selectedtextcolor",
         [](COptionUI* c, const char* v) { c->SetSelectedTextColor(attr::ParseColor(v)); }},
        {"selectedbkcolor",
         [](COptionUI* c, const char* v) { c->SetSelectedBkColor(attr::ParseColor(v)); }},
        {"checkbox", [](COptionUI* c, const char* v) { c->SetCheckBoxLook(attr::ParseBool(v)); }},
    };
    auto it = name ? table.find(name) : table.end();
    if (it != table.end()) {
        it->second(this, value ? value : "");
        return;
    }
    CButtonUI::SetAttribute(name, value);
}

DWORD COptionUI::GetEffectiveTextColor() const {
    if (IsEnabled() && m_bSelected && m_dwSelectedTextColor) return m_dwSelectedTextColor;
    return CButtonUI::GetEffectiveTextColor();
}

DWORD COptionUI::GetStateBkColor() const {
    if (m_bSelected && !m_bCheckBoxLook) {
        if (m_dwSelectedBkColor) return m_dwSelectedBkColor;
        // A plain option (a tab, say) without pictures still shows which one is chosen.
        if (m_sSelectedImage.empty() && m_sNormalImage.empty() && m_pManager)
            return m_pManager->GetDefaultSelectedBkColor();
    }
    return CButtonUI::GetStateBkColor();
}

void COptionUI::PaintBkColor(cairo_t* cr) {
    DWORD c = GetStateBkColor();
    if (m_bSelected && c && c != GetEffectiveBkColor()) {
        CRenderEngine::DrawColor(cr, m_rcItem, c);
        return;
    }
    CButtonUI::PaintBkColor(cr);
}

void COptionUI::PaintStatusImage(cairo_t* cr) {
    bool hot = (m_uButtonState & UISTATE_HOT) != 0;
    if (m_bSelected) {
        const CStdString& image =
            hot && !m_sSelectedHotImage.empty() ? m_sSelectedHotImage : m_sSelectedImage;
        if (!image.empty()) {
            DrawImage(cr, image.c_str());
            const CStdString& fore = m_sSelectedForeImage.empty() ? m_sForeImage : m_sSelectedForeImage;
            if (!fore.empty()) DrawImage(cr, fore.c_str());
            return;
        }
    }
    if (m_bCheckBoxLook && m_sNormalImage.empty() && m_sSelectedImage.empty()) {
        PaintCheckBox(cr);
        return;
    }
    CButtonUI::PaintStatusImage(cr);
}

int COptionUI::CheckBoxTextOffset() const {
    int h = m_rcItem.bottom - m_rcItem.top;
    return std::min(kBoxMax, std::max(0, h - 4)) + kBoxGap + 2;
}

void COptionUI::PaintCheckBox(cairo_t* cr) {
    int h = m_rcItem.bottom - m_rcItem.top;
    int box = std::min(kBoxMax, std::max(0, h - 4));
    if (box <= 4) return;
    RECT rc{m_rcItem.left + 2, m_rcItem.top + (h - box) / 2, 0, 0};
    rc.right = rc.left + box;
    rc.bottom = rc.top + box;
    DWORD text = GetEffectiveTextColor();
    DWORD fill = kAccent;
    if (m_pManager && m_pManager->GetMainBKColor())
        fill = CRenderEngine::AdjustColor(m_pManager->GetMainBKColor() | 0xFF000000, 0, 0, 15);
    if (!IsEnabled()) fill = (fill & 0x00FFFFFF) | 0x60000000;
    if (m_bSelected) {
        CRenderEngine::FillRoundRect(cr, rc, 4, 4, fill);
        DWORD tick = CRenderEngine::ReadableTextColor(fill | 0xFF000000);
        cairo_save(cr);
        cairo_set_source_rgba(cr, ((tick >> 16) & 0xFF) / 255.0, ((tick >> 8) & 0xFF) / 255.0,
                              (tick & 0xFF) / 255.0, IsEnabled() ? 1.0 : 0.6);
        cairo_set_line_width(cr, std::max(1.5, box / 8.0));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        double x = rc.left, y = rc.top, s = box;
        cairo_move_to(cr, x + s * 0.24, y + s * 0.52);
        cairo_line_to(cr, x + s * 0.43, y + s * 0.70);
        cairo_line_to(cr, x + s * 0.77, y + s * 0.32);
        cairo_stroke(cr);
        cairo_restore(cr);
    } else {
        DWORD frame = (text & 0x00FFFFFF) | ((m_uButtonState & UISTATE_HOT) ? 0xE0000000 : 0x90000000);
        CRenderEngine::DrawRoundRect(cr, rc, 1, 4, 4, frame);
    }
}

void COptionUI::PaintText(cairo_t* cr) {
    if (!m_bCheckBoxLook || !m_sNormalImage.empty() || !m_sSelectedImage.empty()) {
        CButtonUI::PaintText(cr);
        return;
    }
    // Text to the right of the drawn box, left aligned.
    RECT saved = m_rcTextPadding;
    UINT style = m_uTextStyle;
    m_rcTextPadding.left += CheckBoxTextOffset();
    m_uTextStyle = (m_uTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_LEFT;
    DrawLabelText(cr, GetText(), GetEffectiveTextColor());
    m_rcTextPadding = saved;
    m_uTextStyle = style;
}

}  // namespace uilib
