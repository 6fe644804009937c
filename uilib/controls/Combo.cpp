#include "uilib/controls/Combo.h"

#include <algorithm>

#include <cairo.h>

#include "uilib/AttributeValue.h"
#include "uilib/controls/ComboWnd.h"

namespace uilib {

namespace {
constexpr int kArrowWidth = 18;

IListItemUI* AsItem(CControlUI* control) {
    return control ? static_cast<IListItemUI*>(control->GetInterface("ListItem")) : nullptr;
}
}  // namespace

CComboUI::CComboUI() {
    m_ListInfo.rcTextPadding = RECT{6, 0, 6, 0};
}

CComboUI::~CComboUI() {
    if (m_pWindow) m_pWindow->CloseNow();
}

const char* CComboUI::GetClass() const { return "ComboUI"; }

void* CComboUI::GetInterface(const char* name) {
    if (attr::IsName(name, "Combo")) return this;
    if (attr::IsName(name, "IListOwner")) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP : 0; }

CStdString CComboUI::GetText() const {
    if (m_iCurSel < 0 || m_iCurSel >= static_cast<int>(m_items.size())) return CStdString();
    return m_items[m_iCurSel]->GetText();
}

void CComboUI::SetEnabled(bool enable) {
    CContainerUI::SetEnabled(enable);
    if (!enable) {
        m_uButtonState = 0;
        CloseDropDown();
    }
}

int CComboUI::GetItemHeight() {
    if (m_ListInfo.nItemHeight <= 0) {
        m_ListInfo.nItemHeight =
            CRenderEngine::GetTextSize(m_pManager, "Ag", m_ListInfo.nFont, DT_SINGLELINE).cy + 10;
    }
    return m_ListInfo.nItemHeight;
}

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pWindow || !m_pManager || !m_pManager->GetPaintWindow()) return false;
    GetItemHeight();
    m_pWindow = new CComboWnd;
    m_pWindow->Init(this);  // clears m_pWindow again if the window cannot be made
    Invalidate();
    return m_pWindow != nullptr;
}

void CComboUI::CloseDropDown() {
    if (m_pWindow) m_pWindow->CloseNow();
}

void CComboUI::Reindex(int from) {
    for (int i = std::max(from, 0); i < static_cast<int>(m_items.size()); ++i) {
        if (IListItemUI* item = AsItem(m_items[i])) {
            item->SetOwner(this);
            item->SetIndex(i);
        }
    }
}

bool CComboUI::Add(CControlUI* control) { return AddAt(control, static_cast<int>(m_items.size())); }

bool CComboUI::AddAt(CControlUI* control, int index) {
    index = std::clamp(index, 0, static_cast<int>(m_items.size()));
    if (!CContainerUI::AddAt(control, index)) return false;
    Reindex(index);
    if (m_iCurSel >= index) ++m_iCurSel;
    if (m_iPendingSel >= 0 && m_iPendingSel < static_cast<int>(m_items.size())) SelectItem(m_iPendingSel);
    return true;
}

bool CComboUI::Remove(CControlUI* control) {
    int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index);
}

bool CComboUI::RemoveAt(int index) {
    CloseDropDown();
    if (!CContainerUI::RemoveAt(index)) return false;
    Reindex(index);
    if (m_iCurSel == index) m_iCurSel = -1;
    else if (m_iCurSel > index) --m_iCurSel;
    Invalidate();
    return true;
}

void CComboUI::RemoveAll() {
    CloseDropDown();
    CContainerUI::RemoveAll();
    m_iCurSel = -1;
    Invalidate();
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (index >= static_cast<int>(m_items.size())) return false;
    if (index >= 0 && (!m_items[index]->IsEnabled() || !AsItem(m_items[index]))) return false;
    for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
        if (IListItemUI* item = AsItem(m_items[i])) item->Select(i == index);
    }
    m_iCurSel = std::max(index, -1);
    m_iPendingSel = -1;
    if (takeFocus) SetFocus();
    if (m_pWindow && index >= 0) m_pWindow->EnsureVisible(index);
    Invalidate();
    return true;
}

bool CComboUI::SelectItemByUser(int index, WORD keyState) {
    int old = m_iCurSel;
    if (!SelectItem(index, false)) return false;
    if (old != m_iCurSel)
        Notify("itemselect", static_cast<WPARAM>(m_iCurSel), static_cast<LPARAM>(old));
    return true;
}

void CComboUI::SetPos(RECT rc, bool needInvalidate) {
    // The items live in the drop-down; the combo itself lays out nothing.
    CControlUI::SetPos(rc, needInvalidate);
}

CControlUI* CComboUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
    if (flags & UIFIND_HITTEST) return CControlUI::FindControl(proc, data, flags);
    return CContainerUI::FindControl(proc, data, flags);
}

void CComboUI::DoEvent(TEventUI& event) {
    if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
        CContainerUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        // A click in the drop-down may move the focus there; that is not leaving.
        // Posted, not at once: the focus change can happen inside the drop-down's own
        // event handling.
        if (m_pWindow && ::GetFocus() != m_pWindow->GetHWND()) m_pWindow->Close();
        Invalidate();
        return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (!IsEnabled()) return;
        if (m_pWindow) {
            CloseDropDown();
        } else {
            SetFocus();
            Activate();
        }
        m_uButtonState |= UISTATE_PUSHED;
        Invalidate();
        return;
    case UIEVENT_BUTTONUP:
        m_uButtonState &= ~UISTATE_PUSHED;
        Invalidate();
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) { m_uButtonState |= UISTATE_HOT; Invalidate(); }
        return;
    case UIEVENT_MOUSELEAVE:
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_MOUSEMOVE:
        return;
    case UIEVENT_KEYDOWN: {
        if (!IsEnabled()) return;
        int key = static_cast<int>(event.chKey);
        int count = static_cast<int>(m_items.size());
        auto step = [&](int from, int dir) {
            for (int i = from + dir; i >= 0 && i < count; i += dir) {
                if (m_items[i]->IsEnabled() && m_items[i]->IsVisible()) return i;
            }
            return m_iCurSel;
        };
        switch (key) {
        case VK_UP: SelectItemByUser(step(m_iCurSel < 0 ? count : m_iCurSel, -1), 0); return;
        case VK_DOWN: SelectItemByUser(step(m_iCurSel, 1), 0); return;
        case VK_HOME: SelectItemByUser(step(-1, 1), 0); return;
        case VK_END: SelectItemByUser(step(count, -1), 0); return;
        case VK_ESCAPE: CloseDropDown(); return;
        case VK_RETURN:
        case VK_SPACE:
        case VK_F1 + 3:  // F4, the usual drop-down key
            if (m_pWindow) CloseDropDown();
            else Activate();
            return;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    CContainerUI::DoEvent(event);
}

void CComboUI::SetAttribute(const char* name, const char* value) {
    if (m_ListInfo.SetAttribute(name, value)) return;
    struct ImageAttr { const char* name; CStdString CComboUI::*field; };
    static const ImageAttr kImages[] = {
        {"normalimage", &CComboUI::m_sNormalImage},
        {"hotimage", &CComboUI::m_sHotImage},
        {"pushedimage", &CComboUI::m_sPushedImage},
        {"disabledimage", &CComboUI::m_sDisabledImage},
    };
    for (const auto& a : kImages) {
        if (attr::IsName(name, a.name)) { this->*a.field = value ? value : ""; Invalidate(); return; }
    }
    if (attr::IsName(name, "dropboxsize")) m_szDropBox = attr::ParseSize(value);
    else if (attr::IsName(name, "textpadding")) m_rcTextPadding = attr::ParseRect(value);
    else if (attr::IsName(name, "font")) m_iFont = attr::ParseInt(value, -1);
    else if (attr::IsName(name, "textcolor")) m_dwTextColor = attr::ParseColor(value);
    else if (attr::IsName(name, "arrowcolor")) m_dwArrowColor = attr::ParseColor(value);
    else if (attr::IsName(name, "dropbkcolor")) m_dwDropBkColor = attr::ParseColor(value);
    else if (attr::IsName(name, "selectedid")) {
        // The items usually follow the attribute in the layout: remember it for Add.
        int index = attr::ParseInt(value, -1);
        if (!SelectItem(index)) m_iPendingSel = index;
    }
    else CContainerUI::SetAttribute(name, value);
}

void CComboUI::PaintArrow(cairo_t* cr, const RECT& rc) const {
    DWORD c = m_dwArrowColor ? m_dwArrowColor
                             : (m_dwTextColor ? m_dwTextColor
                                              : (m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF000000));
    if (!IsEnabled()) c = (c & 0x00FFFFFF) | 0x60000000;
    double cx = (rc.left + rc.right) / 2.0, cy = (rc.top + rc.bottom) / 2.0;
    cairo_save(cr);
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                          (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
    double dir = m_pWindow ? -1 : 1;  // points up while open
    cairo_move_to(cr, cx - 4, cy - 2 * dir);
    cairo_line_to(cr, cx + 4, cy - 2 * dir);
    cairo_line_to(cr, cx, cy + 3 * dir);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

void CComboUI::DoPaint(cairo_t* cr, const RECT& rcPaint) {
    if (!::uilib::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    PaintBkColor(cr);
    PaintBkImage(cr);
    const CStdString* image = &m_sNormalImage;
    if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedImage.empty()) image = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.empty()) image = &m_sHotImage;
    bool pictured = !image->empty() && DrawImage(cr, image->c_str());
    if (!pictured && (m_uButtonState & UISTATE_HOT) && IsEnabled())
        CRenderEngine::DrawColor(cr, m_rcItem, 0x14808080);

    RECT arrow{m_rcItem.right - kArrowWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    if (!pictured) PaintArrow(cr, arrow);

    CStdString text = GetText();
    if (!text.empty()) {
        RECT rc{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
                arrow.left - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
        DWORD color = m_dwTextColor ? m_dwTextColor : m_ListInfo.dwTextColor;
        if (color == 0 && m_pManager) color = m_pManager->GetDefaultFontColor();
        if (!IsEnabled() && m_pManager) color = m_pManager->GetDefaultDisabledColor();
        CRenderEngine::DrawText(cr, m_pManager, rc, text.c_str(), color, m_iFont,
                                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (m_nBorderSize > 0 || m_dwBorderColor != 0) {
        PaintBorder(cr);
    } else {
        DWORD frame = m_bFocused ? 0xFF3D8FE0 : 0x60808080;
        CRenderEngine::DrawRect(cr, m_rcItem, 1, frame);
    }
}

}  // namespace uilib
