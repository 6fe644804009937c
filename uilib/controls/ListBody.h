// The scrolling body of a list: lays out only rows of known height in one pass, paints
// just the rows that meet the paint area and hit-tests by binary search, so a list of
// thousands of rows stays quick.
#pragma once

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

private:
    int HeightOf(CControlUI* row, int width);
    RECT InnerRect() const;

    CListUI* m_pOwner;
    int m_nScrollY = 0;
    int m_nRange = 0;
    std::vector<int> m_rowTops;  // window y of each row after layout (hit testing)
};

}  // namespace uilib
