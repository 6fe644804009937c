// The drop-down of a combo: a popup window under the combo (above it when the work
// area has no room below) with its own paint manager showing the combo's items in a
// scrolling column. It borrows the items while open and gives them back on close.
// Closes on a pick, on Escape and when the focus goes elsewhere.
#pragma once

#include "uilib/PaintManager.h"
#include "uilib/WindowWnd.h"

namespace uilib {

class CComboUI;
class CVerticalLayoutUI;

class CComboWnd : public CWindowWnd, public INotifyUI {
public:
    // Creates and shows the window for owner.
    void Init(CComboUI* owner);
    // Where the window goes, in screen coordinates, for a combo at comboScreen that
    // needs listHeight pixels inside workArea.
    static RECT PlaceBelow(const RECT& comboScreen, int width, int listHeight, const RECT& workArea);

    CPaintManagerUI& GetManager() { return m_pm; }
    void Close(UINT ret = 1) { CWindowWnd::Close(ret); }
    void CloseNow();  // synchronous: for the combo's destructor
    void EnsureVisible(int index);

    void NotifyFromWindow(TNotifyUI& msg) override {}
    void Notify(TNotifyUI& msg) override;

protected:
    const char* GetWindowClassName() const override { return "ComboWnd"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

private:
    void ReturnItems();

    CComboUI* m_pOwner = nullptr;
    CVerticalLayoutUI* m_pLayout = nullptr;
    CPaintManagerUI m_pm;
    bool m_bItemsReturned = false;
};

}  // namespace uilib
