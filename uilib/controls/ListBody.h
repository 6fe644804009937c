// The scrolling body of a list: lays out only rows of known height in one pass, paints
// just the rows that meet the paint area and hit-tests by binary search, so a list of
// thousands of rows stays quick. When the list has a row source the body has no row
// controls to lay out at all: rows are positions computed from the index, drawn and
// hit-tested on the fly, so a hundred thousand rows cost no more than ten.
#pragma once

#include <cstdint>
#include <vector>

#include "uilib/Container.h"

namespace uilib {

class CListUI;

class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner);

    const char* GetClass() const override;          // "ListBodyUI"
    void* GetInterface(const char* name) override;  // "ListBody"

    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;
    void DoEvent(TEventUI& event) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    CStdString GetToolTip() const override;  // virtual rows: the hovered row's

    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false) override;

    // Layout without painting (positions and scroll range from the current rows).
    void Relayout();
    // Offset of a row's top and its height from the start of the content.
    int RowTop(int index);
    int RowHeight(int index);
    int ContentHeight();  // every visible row with paddings
    int ViewHeight() const;
    // Index of the row at a window point, -1 when none.
    int RowAtPoint(POINT pt) const;
    int RowsPerPage();

    // ---- virtual rows (the owner has a row source) ----
    bool IsVirtual() const;
    int GetHotRow() const { return m_iHotRow; }
    // The owner's count changed: forget rows past the end, lay out, repaint.
    void RowsChanged();
    void ResetScroll();
    void InvalidateRow(int row);
    // Scrolls the least needed to show the row; before the body has a height the row
    // is kept and shown by the first layout that gives it one.
    void EnsureVirtualRowVisible(int row);

private:
    int HeightOf(CControlUI* row, int width);
    RECT InnerRect() const;
    // Range, position and place of the scroll bar for content of total height; takes
    // the bar's width off inner when it shows.
    void PlaceScrollBar(int total, int view, RECT& inner, bool needInvalidate);
    int64_t VirtualTop(int row) const;  // content offset of a virtual row's top
    int VirtualPitch() const;           // row height plus the padding between rows
    int VirtualCount() const;
    int ScrollToShow(int64_t top, int64_t bottom) const;
    void PaintVirtualRows(cairo_t* cr, const RECT& rows);
    bool DoVirtualEvent(TEventUI& event);
    void SetHotRow(int row, bool startToolTip);

    CListUI* m_pOwner;
    int m_nScrollY = 0;
    int m_nRange = 0;
    std::vector<int> m_rowTops;  // window y of each row after layout (hit testing)
    int m_iHotRow = -1;          // virtual row under the pointer
    int m_iPendingVisible = -1;  // virtual row to show once the body has a height
};

}  // namespace uilib
