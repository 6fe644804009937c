// A drop-down list: shows the selected item's text and an arrow; a click opens a popup
// window with the items (ListLabelElement children of the combo in the layout). Picking
// an item sends "itemselect" (wParam new index, lParam old index); selecting by code
// does not notify. Up and Down change the selection while closed.
#pragma once

#include "uilib/Container.h"
#include "uilib/controls/List.h"

namespace uilib {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
    friend class CComboWnd;

public:
    CComboUI();
    ~CComboUI() override;

    const char* GetClass() const override;          // "ComboUI"
    void* GetInterface(const char* name) override;  // "Combo", "IListOwner"
    UINT GetControlFlags() const override;          // tab stop while enabled

    CStdString GetText() const override;  // the selected item's text, empty when none
    void SetEnabled(bool enable = true) override;
    bool Activate() override;             // opens the drop-down
    bool IsDropDownOpen() const { return m_pWindow != nullptr; }
    void CloseDropDown();
    CComboWnd* GetDropDown() const { return m_pWindow; }

    // Items
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // IListOwnerUI
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false) override;
    bool SelectItemByUser(int index, WORD keyState) override;

    SIZE GetDropBoxSize() const { return m_szDropBox; }
    void SetDropBoxSize(SIZE size) { m_szDropBox = size; }
    int GetItemHeight();
    UINT GetButtonState() const { return m_uButtonState; }

    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
    void SetAttribute(const char* name, const char* value) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;

private:
    void Reindex(int from);
    void PaintArrow(cairo_t* cr, const RECT& rc) const;

    CComboWnd* m_pWindow = nullptr;
    TListInfoUI m_ListInfo;
    int m_iCurSel = -1;
    int m_iPendingSel = -1;  // "selectedid" given before its item was added
    SIZE m_szDropBox{0, 150};
    UINT m_uButtonState = 0;
    RECT m_rcTextPadding{6, 0, 6, 0};
    int m_iFont = -1;
    DWORD m_dwTextColor = 0;
    DWORD m_dwArrowColor = 0;
    DWORD m_dwDropBkColor = 0;
    CStdString m_sNormalImage, m_sHotImage, m_sPushedImage, m_sDisabledImage;
};

}  // namespace uilib
