// The base of list rows: index, owner, selected and hot state, clicks that select and
// notify, and the row background drawn from the owner's item colours. The static
// helpers are shared with the container rows.
#pragma once

#include <functional>

#include "uilib/controls/List.h"

namespace uilib {

// The state a row is drawn in: row controls and the virtual rows a list draws itself
// go through the same drawing helpers, so both look alike.
struct TListRowLook {
    int index = -1;
    bool selected = false;
    bool hot = false;
    bool enabled = true;
};

class CListElementUI : public CControlUI, public IListItemUI {
public:
    CListElementUI();

    const char* GetClass() const override;          // "ListElementUI"
    void* GetInterface(const char* name) override;  // "ListElement", "ListItem"
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
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;
    virtual void DrawItemBk(cairo_t* cr, const RECT& rcItem);

    // ---- shared by every row kind ----
    // Clicks, double clicks, right clicks, hot tracking and keys of a row; true when
    // the event was consumed. state holds the row's UISTATE_HOT bit.
    static bool HandleRowEvent(CControlUI* row, IListItemUI* item, UINT& state, TEventUI& event);
    static void PaintRowBackground(cairo_t* cr, CControlUI* row, IListItemUI* item, UINT state,
                                   const RECT& rc);
    static DWORD RowTextColor(CControlUI* row, IListItemUI* item, UINT state);
    // The same without a row control: drawImage draws one of the item pictures.
    static void PaintRowBackground(cairo_t* cr, CPaintManagerUI* pm, const TListInfoUI& info,
                                   const TListRowLook& look, const RECT& rc,
                                   const std::function<void(const char*)>& drawImage);
    // behind: the opaque colour the rows lie on, for rows whose text colour is "auto".
    static DWORD RowTextColor(CPaintManagerUI* pm, const TListInfoUI* info, const TListRowLook& look,
                              DWORD behind = 0);
    // One cell's text inside rc, with the item font, style and text padding.
    static void DrawRowText(cairo_t* cr, CPaintManagerUI* pm, const TListInfoUI* info, RECT rc,
                            const char* text, DWORD color);
    // The cells of row number index inside rc from its list's text callback: one per
    // header column, or one across rc without columns; the first starts indent further
    // right. False, drawing nothing, when the owner is no list with a callback.
    static bool DrawCallbackCells(cairo_t* cr, CControlUI* row, IListOwnerUI* owner, int index,
                                  const RECT& rc, DWORD color, int indent = 0);
    // The owner of a row from the control given to SetOwner (list, combo or expander).
    static IListOwnerUI* OwnerFrom(CControlUI* owner);

protected:
    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace uilib
