#include "uilib/controls/ComboWnd.h"

#include <algorithm>

#include "uilib/Container.h"
#include "uilib/controls/Combo.h"

namespace uilib {

RECT CComboWnd::PlaceBelow(const RECT& combo, int width, int listHeight, const RECT& work) {
    int height = std::max(1, listHeight);
    int below = work.bottom - combo.bottom;
    int above = combo.top - work.top;
    RECT rc{combo.left, combo.bottom, combo.left + width, combo.bottom + height};
    if (height > below && above > below) {
        height = std::min(height, above);
        rc.top = combo.top - height;
        rc.bottom = combo.top;
    } else if (height > below) {
        rc.bottom = combo.bottom + std::max(below, 1);
    }
    // Keep it inside the work area horizontally.
    if (rc.right > work.right) { rc.left -= rc.right - work.right; rc.right = work.right; }
    if (rc.left < work.left) { rc.right += work.left - rc.left; rc.left = work.left; }
    return rc;
}

void CComboWnd::Init(CComboUI* owner) {
    m_pOwner = owner;
    CPaintManagerUI* pm = owner->GetManager();
    HWND ownerWnd = pm->GetPaintWindow();

    RECT pos = owner->GetPos();
    POINT tl{pos.left, pos.top}, br{pos.right, pos.bottom};
    ::ClientToScreen(ownerWnd, &tl);
    ::ClientToScreen(ownerWnd, &br);
    RECT combo{tl.x, tl.y, br.x, br.y};

    int listHeight = 2;  // the frame
    int itemHeight = owner->GetItemHeight();
    for (CControlUI* item : owner->m_items) {
        if (!item->IsVisible()) continue;
        int h = item->GetFixedHeight();
        listHeight += h > 0 ? h : itemHeight;
    }
    SIZE box = owner->GetDropBoxSize();
    if (box.cy > 0) listHeight = std::min<int>(listHeight, box.cy);
    int width = box.cx > 0 ? box.cx : combo.right - combo.left;
    RECT work = platform::GetBackend().GetWorkArea(ownerWnd);
    RECT rc = PlaceBelow(combo, width, listHeight, work);

    if (!Create(ownerWnd, "", WS_POPUP, WS_EX_TOOLWINDOW, rc)) {
        owner->m_pWindow = nullptr;
        delete this;
        return;
    }
    ShowWindow(true, false);
    m_pm.UpdateLayout();  // clicks may come before the first paint
    EnsureVisible(owner->GetCurSel());
}

void CComboWnd::EnsureVisible(int index) {
    if (!m_pLayout || index < 0 || index >= m_pLayout->GetCount()) return;
    m_pm.UpdateLayout();
    RECT item = m_pLayout->GetItemAt(index)->GetPos();
    RECT view = m_pLayout->GetPos();
    SIZE pos = m_pLayout->GetScrollPos();
    if (item.top < view.top) pos.cy -= view.top - item.top;
    else if (item.bottom > view.bottom) pos.cy += item.bottom - view.bottom;
    else return;
    m_pLayout->SetScrollPos(pos);
}

LRESULT CComboWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        m_pm.Init(m_hWnd);
        m_pm.UseParentResource(m_pOwner->GetManager());
        m_pLayout = new CVerticalLayoutUI;
        m_pLayout->SetAutoDestroy(false);  // the items belong to the combo
        m_pLayout->SetInset(RECT{1, 1, 1, 1});
        DWORD bk = m_pOwner->m_dwDropBkColor;
        if (bk == 0) bk = m_pOwner->GetManager()->GetMainBKColor();
        if ((bk >> 24) == 0) bk = 0xFFFFFFFF;
        m_pLayout->SetBkColor(bk | 0xFF000000);
        m_pLayout->SetBorderColor(0x80808080);
        m_pLayout->SetBorderSize(1);
        m_pLayout->EnableScrollBar(true, false);
        int itemHeight = m_pOwner->GetItemHeight();
        for (CControlUI* item : m_pOwner->m_items) {
            if (item->GetFixedHeight() == 0) item->SetFixedHeight(itemHeight);
            m_pLayout->Add(item);
        }
        m_pm.AttachDialog(m_pLayout);
        m_pm.AddNotifier(this);
        return 0;
    }
    case WM_KILLFOCUS:
        Close();
        return 0;
    case WM_KEYDOWN:
        if (wParam == static_cast<WPARAM>(VK_ESCAPE)) {
            Close();
            return 0;
        }
        break;
    case WM_CLOSE:
        ReturnItems();
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm.MessageHandler(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CComboWnd::ReturnItems() {
    if (m_bItemsReturned || !m_pOwner) return;
    m_bItemsReturned = true;
    if (m_pLayout) m_pLayout->RemoveAll();  // not destroyed: auto-destroy is off
    for (CControlUI* item : m_pOwner->m_items) {
        m_pm.ReapObjects(item);
        item->SetManager(m_pOwner->GetManager(), m_pOwner, false);
    }
}

void CComboWnd::Notify(TNotifyUI& msg) {
    if (msg.sType == "itemclick") Close();
}

void CComboWnd::CloseNow() {
    ReturnItems();
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CComboWnd::OnFinalMessage(HWND hwnd) {
    ReturnItems();
    if (m_pOwner) {
        m_pOwner->m_pWindow = nullptr;
        m_pOwner->m_uButtonState = 0;
        m_pOwner->Invalidate();
    }
    delete this;
}

}  // namespace uilib
