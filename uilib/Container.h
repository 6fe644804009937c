// A control that holds other controls, and the layouts built on it.
#pragma once

#include <memory>
#include <vector>

#include "uilib/Control.h"

namespace uilib {

class CScrollBarUI;

class CContainerUI : public CControlUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    const char* GetClass() const override;        // "ContainerUI"
    void* GetInterface(const char* name) override;  // "Container"

    // Children (owned unless SetAutoDestroy(false))
    virtual CControlUI* GetItemAt(int index) const;
    virtual int GetItemIndex(CControlUI* control) const;
    virtual bool SetItemIndex(CControlUI* control, int index);
    virtual int GetCount() const;
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    virtual bool Remove(CControlUI* control);   // deletes it when auto-destroy
    virtual bool RemoveAt(int index);
    virtual void RemoveAll();
    void SetAutoDestroy(bool autoDestroy) { m_bAutoDestroy = autoDestroy; }
    void SetDelayedDestroy(bool delayed) { m_bDelayedDestroy = delayed; }

    virtual RECT GetInset() const { return m_rcInset; }
    virtual void SetInset(RECT rc);
    virtual int GetChildPadding() const { return m_iChildPadding; }
    virtual void SetChildPadding(int padding);
    virtual bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
    virtual void SetMouseChildEnabled(bool enable = true);

    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void SetMouseEnabled(bool enable = true) override;
    void DoEvent(TEventUI& event) override;
    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;
    void SetAttribute(const char* name, const char* value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;

    // Scrolling (vertical and horizontal scroll bars are optional)
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar.get(); }
    virtual CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar.get(); }

protected:
    // The area children are laid out in: rc without the inset and the shown scroll bars.
    RECT ContentRect(const RECT& rc) const;
    // Forgets a removed child in the manager and deletes it (later, when delayed).
    void Detach(CControlUI* control);
    // Lays the visible children out one after another, top to bottom (vertical) or left
    // to right, sharing the free length among those without a fixed one.
    void LayOutInLine(bool vertical, bool needInvalidate);
    // Places floating children by their pos attribute inside rc.
    void SetFloatPos(int index);
    // Lays out scroll bars for content of size cxyRequired inside rc.
    virtual void ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);

    std::vector<CControlUI*> m_items;
    RECT m_rcInset{};
    int m_iChildPadding = 0;
    bool m_bAutoDestroy = true;
    bool m_bDelayedDestroy = true;
    bool m_bMouseChildEnabled = true;
    // The bars are no children: the container owns them apart from m_items.
    std::unique_ptr<CScrollBarUI> m_pVerticalScrollBar;
    std::unique_ptr<CScrollBarUI> m_pHorizontalScrollBar;
    bool m_bInScrollRelayout = false;
};

class CVerticalLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;        // "VerticalLayoutUI"
    void* GetInterface(const char* name) override;  // "VerticalLayout"
    void SetPos(RECT rc, bool needInvalidate = true) override;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;        // "HorizontalLayoutUI"
    void* GetInterface(const char* name) override;  // "HorizontalLayout"
    void SetPos(RECT rc, bool needInvalidate = true) override;
};

// Shows one child at a time.
class CTabLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;        // "TabLayoutUI"
    void* GetInterface(const char* name) override;  // "TabLayout"
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;
    int GetCurSel() const { return m_iCurSel; }
    virtual bool SelectItem(int index);
    virtual bool SelectItem(CControlUI* control);
    bool SelectItem(const char* name);
    void SetPos(RECT rc, bool needInvalidate = true) override;
    void SetAttribute(const char* name, const char* value) override;  // "selectedid"

protected:
    int m_iCurSel = -1;
    int m_iPendingSel = -1;  // "selectedid" given before the pages were added
};

}  // namespace uilib
