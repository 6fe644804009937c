// The list control and the interfaces that bind it to its rows: a header of columns,
// a scrolling body of elements, single and multiple selection, keyboard navigation and
// per-list item colours. Combos share the owner interface. A list can also show rows
// that exist only as a count and texts (IListRowSource), for lists too long for a
// control per row.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "uilib/Container.h"
#include "uilib/RenderEngine.h"
#include "uilib/controls/ListInfo.h"

namespace uilib {

class CListHeaderUI;
class CListBodyUI;

// Text of rows without a text of their own: asked for each cell while painting.
class IListCallbackUI {
public:
    virtual ~IListCallbackUI() = default;
    virtual CStdString GetItemText(CControlUI* control, int index, int subItem) = 0;
};

class IListOwnerUI {
public:
    virtual ~IListOwnerUI() = default;
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    // Programmatic selection of one row (the others are deselected).
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    // A row clicked by the user; keyState holds MK_CONTROL/MK_SHIFT for lists that
    // select several rows.
    virtual bool SelectItemByUser(int index, WORD keyState) { return SelectItem(index, true); }
    // A right click on a row (index) or on empty space (-1).
    virtual void ItemRightClicked(int index) {}
    virtual void DoEvent(TEventUI& event) = 0;
};

class IListUI : public IListOwnerUI {
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual IListCallbackUI* GetTextCallback() const = 0;
    virtual void SetTextCallback(IListCallbackUI* callback) = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    virtual int GetExpandedItem() const = 0;
};

class IListItemUI {
public:
    virtual ~IListItemUI() = default;
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool select = true) = 0;  // state only; no notification
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand = true) = 0;
    virtual void DrawItemText(cairo_t* cr, const RECT& rcItem) = 0;
};

// Rows of a list in virtual mode: asked only for the rows being drawn or hovered.
class IListRowSource {
public:
    virtual ~IListRowSource() = default;
    virtual size_t GetRowCount() const = 0;
    virtual std::string GetRowText(size_t row) const = 0;     // UTF-8; may be any length
    virtual std::string GetRowTooltip(size_t row) const { return std::string(); }
};

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    ~CListUI() override;

    const char* GetClass() const override;          // "ListUI"
    void* GetInterface(const char* name) override;  // "List", "IList", "IListOwner"
    UINT GetControlFlags() const override { return UIFLAG_TABSTOP; }

    // Virtual mode: rows come from source, all of the item height, drawn with the item
    // looks, one selected at a time; the list sends "itemselect" (wParam new row, lParam
    // old), "itemclick" (lParam row), "itemactivate" (lParam row, double click or Return)
    // and "listrightclick" (wParam row) itself. Child rows stay but are not shown;
    // nullptr goes back to them. A new source starts with no selection, at the top.
    void SetRowSource(IListRowSource* source);
    IListRowSource* GetRowSource() const { return m_pRowSource; }
    // The source's count or texts changed: lays out and repaints; a selection past the
    // new end moves to the last row (no notification: the owner made the change).
    void RowsChanged();

    // Rows. Add takes a header, a row (IListItemUI) or any control (a row of the body).
    // In virtual mode GetCount is the source's row count; the others keep working on
    // the child rows.
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // IListUI
    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    bool SelectItem(int index, bool takeFocus = false) override;
    bool SelectItemByUser(int index, WORD keyState) override;
    void ItemRightClicked(int index) override;
    CListHeaderUI* GetHeader() const override { return m_pHeader; }
    CContainerUI* GetList() const override;
    IListCallbackUI* GetTextCallback() const override { return m_pCallback; }
    void SetTextCallback(IListCallbackUI* callback) override { m_pCallback = callback; Invalidate(); }
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override { return m_iExpandedItem; }

    // Multiple selection (Ctrl and Shift clicks, Shift with keys); virtual rows are
    // selected one at a time.
    bool IsMultiSelect() const { return m_bMultiSelect; }
    void SetMultiSelect(bool multi);
    bool IsItemSelected(int index) const;
    std::vector<int> GetSelectedItems() const;  // ascending
    void SelectRange(int from, int to);          // adds rows from..to to the selection
    void UnselectAll();
    // The row the last right click was on (-1: none or empty space).
    int GetContextItem() const { return m_iContextItem; }
    int GetRightClickedRow() const { return m_iContextItem; }

    // Scrolling
    void EnsureVisible(int index);
    void Scroll(int dx, int dy);
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;
    // Height all rows, the header and the insets need (menus size their window by it).
    int GetListHeight();
    int GetItemHeight();  // the height of a row without a fixed height

    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;

private:
    void UpdateColumns();
    void NotifySelect(int oldSel);
    int StepFrom(int index, int key) const;
    int ChildCount() const;
    bool SelectVirtualRow(int index, bool takeFocus);
    bool CatchUpWithSource(int index);

    CListHeaderUI* m_pHeader = nullptr;
    CListBodyUI* m_pList = nullptr;
    TListInfoUI m_ListInfo;
    IListCallbackUI* m_pCallback = nullptr;
    IListRowSource* m_pRowSource = nullptr;
    int m_nRowCount = 0;       // the source's count when last told
    int m_iCurSel = -1;
    int m_iAnchor = -1;        // where a Shift range starts
    int m_iExpandedItem = -1;
    int m_iContextItem = -1;
    bool m_bMultiSelect = true;
};

}  // namespace uilib
