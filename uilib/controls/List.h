// The list control and the interfaces that bind it to its rows: a header of columns,
// a scrolling body of elements, single and multiple selection, keyboard navigation and
// per-list item colours. Combos share the owner interface.
#pragma once

#include <vector>

#include "uilib/Container.h"
#include "uilib/RenderEngine.h"

namespace uilib {

class CListHeaderUI;
class CListBodyUI;

// Looks shared by every row of one list (or combo); the owner fills it from its
// item attributes and the header's column positions.
struct TListInfoUI {
    std::vector<RECT> columns;  // x extents of the header's columns; empty: one column
    int nFont = -1;
    UINT uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    RECT rcTextPadding{4, 0, 4, 0};
    int nItemHeight = 0;            // rows without a fixed height; 0: from the font
    DWORD dwTextColor = 0;          // 0: the manager's default text colour
    DWORD dwBkColor = 0;
    bool bAlternateBk = false;
    DWORD dwAltBkColor = 0;         // 0 with bAlternateBk: a shade of the background
    DWORD dwSelectedTextColor = 0;
    DWORD dwSelectedBkColor = 0;    // 0: the manager's default selected colour
    DWORD dwHotTextColor = 0;
    DWORD dwHotBkColor = 0x20808080;
    DWORD dwDisabledTextColor = 0;
    DWORD dwLineColor = 0;
    CStdString sBkImage, sSelectedImage, sHotImage;
    bool bMultiExpandable = false;

    // Parses one of the item attributes above ("itemfont", "itemtextcolor", ...).
    bool SetAttribute(const char* name, const char* value);
};

// Text of virtual rows: asked for each cell while painting.
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

class CListUI : public CVerticalLayoutUI, public IListUI {
public:
    CListUI();
    ~CListUI() override;

    const char* GetClass() const override;          // "ListUI"
    void* GetInterface(const char* name) override;  // "List", "IList", "IListOwner"
    UINT GetControlFlags() const override { return UIFLAG_TABSTOP; }

    // Rows. Add takes a header, a row (IListItemUI) or any control (a row of the body).
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

    // Multiple selection (Ctrl and Shift clicks, Shift with keys).
    bool IsMultiSelect() const { return m_bMultiSelect; }
    void SetMultiSelect(bool multi);
    bool IsItemSelected(int index) const;
    std::vector<int> GetSelectedItems() const;  // ascending
    void SelectRange(int from, int to);          // adds rows from..to to the selection
    void UnselectAll();
    // The row the last right click was on (-1: none or empty space).
    int GetContextItem() const { return m_iContextItem; }

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

    CListHeaderUI* m_pHeader = nullptr;
    CListBodyUI* m_pList = nullptr;
    TListInfoUI m_ListInfo;
    IListCallbackUI* m_pCallback = nullptr;
    int m_iCurSel = -1;
    int m_iAnchor = -1;        // where a Shift range starts
    int m_iExpandedItem = -1;
    int m_iContextItem = -1;
    bool m_bMultiSelect = true;
};

}  // namespace uilib
