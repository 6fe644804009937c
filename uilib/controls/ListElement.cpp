#include "uilib/controls/ListElement.h"

#include <algorithm>
#include <vector>

#include "uilib/AttributeValue.h"
#include "uilib/RenderEngine.h"

namespace uilib {

CListElementUI::CListElementUI() = default;

const char* CListElementUI::GetClass() const { return "ListElementUI"; }

void* CListElementUI::GetInterface(const char* name) {
    if (attr::IsName(name, "ListItem")) return static_cast<IListItemUI*>(this);
    if (attr::IsName(name, "ListElement")) return this;
    return CControlUI::GetInterface(name);
}

IListOwnerUI* CListElementUI::OwnerFrom(CControlUI* owner) {
    if (!owner) return nullptr;
    return static_cast<IListOwnerUI*>(owner->GetInterface("IListOwner"));
}

void CListElementUI::SetOwner(CControlUI* owner) { m_pOwner = OwnerFrom(owner); }

bool CListElementUI::Select(bool select) {
    if (m_bSelected == select) return true;
    m_bSelected = select;
    Invalidate();
    return true;
}

bool CListElementUI::Activate() {
    if (!CControlUI::Activate()) return false;
    Notify("itemactivate");
    return true;
}

void CListElementUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner && m_pOwner->GetCurSel() == m_iIndex) m_pOwner->SelectItem(-1);
    }
}

void CListElementUI::SetEnabled(bool enable) {
    CControlUI::SetEnabled(enable);
    if (!enable) m_uButtonState = 0;
}

bool CListElementUI::HandleRowEvent(CControlUI* row, IListItemUI* item, UINT& state,
                                    TEventUI& event) {
    IListOwnerUI* owner = item->GetOwner();
    bool mouse = event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND;
    if (mouse && !row->IsMouseEnabled()) {
        if (owner) owner->DoEvent(event);
        return true;
    }
    switch (event.Type) {
    case UIEVENT_DBLCLICK:
        if (row->IsEnabled()) row->Activate();
        return true;
    case UIEVENT_BUTTONDOWN:
        if (row->IsEnabled()) {
            if (owner) owner->SelectItemByUser(item->GetIndex(), event.wKeyState);
            row->Notify("itemclick", 0, static_cast<LPARAM>(event.wKeyState));
        }
        return true;
    case UIEVENT_RBUTTONDOWN:
        if (row->IsEnabled() && owner) owner->ItemRightClicked(item->GetIndex());
        return true;
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
        return true;
    case UIEVENT_MOUSEENTER:
        if (row->IsEnabled()) {
            state |= UISTATE_HOT;
            row->Invalidate();
        }
        return true;
    case UIEVENT_MOUSELEAVE:
        if (state & UISTATE_HOT) {
            state &= ~UISTATE_HOT;
            row->Invalidate();
        }
        return true;
    case UIEVENT_MOUSEMOVE:
        return true;
    case UIEVENT_KEYDOWN:
        if (event.chKey == static_cast<uint32_t>(VK_RETURN) && row->IsEnabled()) {
            row->Activate();
            return true;
        }
        if (owner) owner->DoEvent(event);
        return true;
    case UIEVENT_SCROLLWHEEL:
    case UIEVENT_CHAR:
    case UIEVENT_KEYUP:
        if (owner) owner->DoEvent(event);
        return true;
    default:
        return false;
    }
}

void CListElementUI::DoEvent(TEventUI& event) {
    if (!HandleRowEvent(this, this, m_uButtonState, event)) CControlUI::DoEvent(event);
}

void CListElementUI::SetAttribute(const char* name, const char* value) {
    if (attr::IsName(name, "selected")) Select(attr::ParseBool(value));
    else CControlUI::SetAttribute(name, value);
}

static DWORD AlternateShade(DWORD bk) {
    if ((bk >> 24) == 0) return 0x0C808080;
    float h, s, l;
    RGBtoHSL(bk, &h, &s, &l);
    // Lighten dark rows, darken light ones: the stripe stays visible on either.
    l += l < 50 ? 4 : -4;
    return (bk & 0xFF000000u) | (HSLtoRGB(h, s, l) & 0x00FFFFFFu);
}

static TListRowLook LookOf(CControlUI* row, IListItemUI* item, UINT state) {
    TListRowLook look;
    look.index = item->GetIndex();
    look.selected = item->IsSelected();
    look.hot = (state & UISTATE_HOT) != 0;
    look.enabled = row->IsEnabled();
    return look;
}

void CListElementUI::PaintRowBackground(cairo_t* cr, CControlUI* row, IListItemUI* item,
                                        UINT state, const RECT& rc) {
    IListOwnerUI* owner = item->GetOwner();
    TListInfoUI* info = owner ? owner->GetListInfo() : nullptr;
    if (!info) return;
    PaintRowBackground(cr, row->GetManager(), *info, LookOf(row, item, state), rc,
                       [cr, row](const char* image) { row->DrawImage(cr, image); });
}

void CListElementUI::PaintRowBackground(cairo_t* cr, CPaintManagerUI* pm, const TListInfoUI& info,
                                        const TListRowLook& look, const RECT& rc,
                                        const std::function<void(const char*)>& drawImage) {
    DWORD color = 0;
    const CStdString* image = nullptr;
    if (look.selected) {
        color = info.dwSelectedBkColor;
        if (color == 0 && pm) color = pm->GetDefaultSelectedBkColor();
        image = &info.sSelectedImage;
    } else if (look.hot && look.enabled) {
        color = info.dwHotBkColor;
        image = &info.sHotImage;
    } else {
        color = info.dwBkColor;
        if (info.bAlternateBk && (look.index % 2) == 1)
            color = info.dwAltBkColor ? info.dwAltBkColor : AlternateShade(info.dwBkColor);
        image = &info.sBkImage;
    }
    CRenderEngine::DrawColor(cr, rc, color);
    if (image && !image->empty()) drawImage(image->c_str());
    if (info.dwLineColor != 0) {
        RECT line{rc.left, rc.bottom - 1, rc.right, rc.bottom};
        CRenderEngine::DrawColor(cr, line, info.dwLineColor);
    }
}

DWORD CListElementUI::RowTextColor(CControlUI* row, IListItemUI* item, UINT state) {
    IListOwnerUI* owner = item->GetOwner();
    CControlUI* under = row->GetParent();
    return RowTextColor(row->GetManager(), owner ? owner->GetListInfo() : nullptr,
                        LookOf(row, item, state),
                        under ? BackgroundBehind(under, under->GetEffectiveBkColor()) : 0);
}

DWORD CListElementUI::RowTextColor(CPaintManagerUI* pm, const TListInfoUI* info,
                                   const TListRowLook& look, DWORD behind) {
    if (info && info->bAutoTextColor && behind && look.enabled) {
        const DWORD row = look.selected ? info->dwSelectedBkColor
                          : look.hot    ? info->dwHotBkColor
                                        : info->dwBkColor;
        return CRenderEngine::ReadableTextColor((row >> 24) ? Over(row, behind) : behind);
    }
    DWORD color = 0;
    if (info) {
        if (!look.enabled) color = info->dwDisabledTextColor;
        else if (look.selected) color = info->dwSelectedTextColor;
        else if (look.hot) color = info->dwHotTextColor;
        if (color == 0 && !look.enabled && pm) color = pm->GetDefaultDisabledColor();
        if (color == 0) color = info->dwTextColor;
    }
    if (color == 0 && pm) color = pm->GetDefaultFontColor();
    if (color == 0) color = 0xFF000000;
    return color;
}

void CListElementUI::DrawRowText(cairo_t* cr, CPaintManagerUI* pm, const TListInfoUI* info,
                                 RECT rc, const char* text, DWORD color) {
    if (!text || !*text) return;
    RECT pad = info ? info->rcTextPadding : RECT{4, 0, 4, 0};
    rc.left += pad.left; rc.top += pad.top; rc.right -= pad.right; rc.bottom -= pad.bottom;
    if (rc.right <= rc.left) return;
    int font = info ? info->nFont : -1;
    UINT style = info ? info->uTextStyle : (DT_VCENTER | DT_SINGLELINE);
    CRenderEngine::DrawText(cr, pm, rc, text, color, font, style);
}

bool CListElementUI::DrawCallbackCells(cairo_t* cr, CControlUI* row, IListOwnerUI* owner, int index,
                                       const RECT& rc, DWORD color, int indent) {
    IListUI* list = dynamic_cast<IListUI*>(owner);
    IListCallbackUI* callback = list ? list->GetTextCallback() : nullptr;
    if (!callback) return false;
    const TListInfoUI* info = owner->GetListInfo();
    std::vector<RECT> cells{rc};
    if (info && !info->columns.empty()) {
        cells.clear();
        for (const RECT& column : info->columns) cells.push_back(RECT{column.left, rc.top, column.right, rc.bottom});
    }
    cells.front().left = std::max<LONG>(cells.front().left, rc.left + indent);
    for (size_t i = 0; i < cells.size(); ++i) {
        const CStdString text = callback->GetItemText(row, index, static_cast<int>(i));
        DrawRowText(cr, row->GetManager(), info, cells[i], text.c_str(), color);
    }
    return true;
}

void CListElementUI::DrawItemBk(cairo_t* cr, const RECT& rcItem) {
    PaintRowBackground(cr, this, this, m_uButtonState, rcItem);
}

void CListElementUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    if (!::uilib::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBk(cr, m_rcItem);
    PaintBkColor(cr);
    PaintBkImage(cr);
    DrawItemText(cr, m_rcItem);
    PaintBorder(cr);
}

}  // namespace uilib
