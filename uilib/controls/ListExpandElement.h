// A row with child rows below it that a click (or the arrow keys via the list) shows
// and hides. The child rows belong to this row: it selects among them and sends
// "itemselect" for them; they send "itemclick" themselves.
#pragma once

#include "uilib/controls/ListContainerElement.h"

namespace uilib {

class CListExpandElementUI : public CListContainerElementUI, public IListOwnerUI {
public:
    CListExpandElementUI();

    const char* GetClass() const override;          // "ListExpandElementUI"
    void* GetInterface(const char* name) override;  // "ListExpandElement", "IListOwner"

    bool IsExpanded() const override { return m_bExpanded; }
    bool Expand(bool expand = true) override;

    // Child rows
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // Owner of the child rows
    TListInfoUI* GetListInfo() override;
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false) override;
    void ItemRightClicked(int index) override;

    SIZE EstimateSize(SIZE available) override;
    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;
    void SetAttribute(const char* name, const char* value) override;
    void DrawItemText(cairo_t* cr, const RECT& rcItem) override;

private:
    int RowHeight() const;
    RECT BandRect() const;
    void Reindex();

    bool m_bExpanded = false;
    int m_iCurSel = -1;
    int m_nRowHeight = 0;  // the band with this row's own text; 0: the list's row height
    TListInfoUI m_fallbackInfo;
};

}  // namespace uilib
