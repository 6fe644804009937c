// A row that holds controls, laid out left to right, with the row's hot and selected
// looks behind them.
#pragma once

#include "uilib/controls/ListElement.h"

namespace uilib {

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
public:
    CListContainerElementUI();

    const char* GetClass() const override;          // "ListContainerElementUI"
    void* GetInterface(const char* name) override;  // "ListContainerElement", "ListItem"
    UINT GetControlFlags() const override { return UIFLAG_WANTRETURN; }

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int index) override { m_iIndex = index; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool select = true) override;
    bool IsExpanded() const override { return false; }
    bool Expand(bool expand = true) override { return false; }
    void DrawItemText(cairo_t* cr, const RECT& rcItem) override {}
    UINT GetItemState() const { return m_uButtonState; }

    bool Activate() override;  // sends "itemactivate"
    void SetEnabled(bool enable = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;
    virtual void DrawItemBk(cairo_t* cr, const RECT& rcItem);

protected:
    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace uilib
