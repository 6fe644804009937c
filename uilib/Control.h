// The base of every control: position, size, padding, colours, pictures, text, state,
// attributes from the layout, events, painting and notifications.
#pragma once

#include "uilib/PaintManager.h"

namespace uilib {

using FINDCONTROLPROC = CControlUI* (*)(CControlUI*, void*);

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();

    // Identity
    virtual CStdString GetName() const { return m_sName; }
    virtual void SetName(const char* name);
    virtual const char* GetClass() const;                 // "ControlUI"
    virtual void* GetInterface(const char* name);         // "Control" → this
    virtual UINT GetControlFlags() const { return 0; }
    virtual bool Activate();                              // false when not visible/enabled
    virtual CControlUI* GetParent() const { return m_pParent; }
    CPaintManagerUI* GetManager() const { return m_pManager; }
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);

    // Text
    virtual CStdString GetText() const { return m_sText; }
    virtual void SetText(const char* text);

    // Colours (ARGB) and pictures (picture text, see CRenderEngine::DrawImageString)
    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD c);
    DWORD GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(DWORD c);   // gradient end (top to bottom)
    const CStdString& GetBkImage() const { return m_sBkImage; }
    void SetBkImage(const char* image);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD c);
    DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(DWORD c);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int size);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(SIZE round);
    // The scheme colour (CPaintManagerUI::SetColor): "bk" paints the background with it,
    // shaded by the luminance shift (-100..100); text "auto" picks a readable colour.
    int GetSchemeMode() const { return m_nSchemeMode; }   // 0 none, 1 background
    void SetSchemeMode(int mode);
    int GetSchemeShade() const { return m_nSchemeShade; }
    void SetSchemeShade(int shade);
    // The background colour actually painted (scheme colour applied), 0 when none.
    DWORD GetEffectiveBkColor() const;
    bool DrawImage(cairo_t* cr, const char* image, const char* modify = nullptr);

    // Position (client coordinates of the window)
    virtual const RECT& GetPos() const { return m_rcItem; }
    virtual void SetPos(RECT rc, bool needInvalidate = true);
    virtual int GetWidth() const { return m_rcItem.right - m_rcItem.left; }
    virtual int GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
    virtual int GetX() const { return m_rcItem.left; }
    virtual int GetY() const { return m_rcItem.top; }
    virtual RECT GetPadding() const { return m_rcPadding; }
    virtual void SetPadding(RECT rc);
    virtual SIZE GetFixedXY() const { return m_cXY; }      // float controls: offset in parent
    virtual void SetFixedXY(SIZE xy);
    virtual int GetFixedWidth() const { return m_cxyFixed.cx; }
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const { return m_cxyFixed.cy; }
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const { return m_cxyMin.cx; }
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const { return m_cxyMax.cx; }
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const { return m_cxyMin.cy; }
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const { return m_cxyMax.cy; }
    virtual void SetMaxHeight(int cy);
    virtual SIZE EstimateSize(SIZE available);  // fixed size; 0 = take what is given
    bool IsFloat() const { return m_bFloat; }
    void SetFloat(bool f = true);

    // Tooltip, user data
    virtual CStdString GetToolTip() const { return m_sToolTip; }
    virtual void SetToolTip(const char* text) { m_sToolTip = text; }
    const CStdString& GetUserData() const { return m_sUserData; }
    void SetUserData(const char* text) { m_sUserData = text; }
    UINT_PTR GetTag() const { return m_pTag; }
    void SetTag(UINT_PTR tag) { m_pTag = tag; }

    // State
    virtual bool IsVisible() const { return m_bVisible && m_bInternVisible; }
    // Whether the control itself is set visible, whatever its parents are.
    bool IsSetVisible() const { return m_bVisible; }
    virtual void SetVisible(bool visible = true);
    virtual void SetInternVisible(bool visible = true);  // parent's visibility
    virtual bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enable = true);
    virtual bool IsMouseEnabled() const { return m_bMouseEnabled; }
    virtual void SetMouseEnabled(bool enable = true);
    virtual bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
    virtual void SetKeyboardEnabled(bool enable = true);
    virtual bool IsFocused() const { return m_bFocused; }
    virtual void SetFocus();

    // Tree search: visits this control (and children for containers).
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags);

    // Layout and paint invalidation
    void Invalidate();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void NeedUpdate();
    void NeedParentUpdate();

    virtual void Init();    // after the tree is attached: DoInit, then "init" state
    virtual void DoInit() {}

    // Events: Event applies the filters of the control; DoEvent handles.
    virtual void Event(TEventUI& event);
    virtual void DoEvent(TEventUI& event);

    // Attributes from the layout. Unknown names are reported (file and element).
    virtual void SetAttribute(const char* name, const char* value);
    CControlUI* ApplyAttributeList(const char* list);   // name="value" name2="value2"

    // Painting (cr in window client coordinates; only inside rcPaint is needed)
    virtual void DoPaint(cairo_t* cr, const RECT& rcPaint);
    virtual void PaintBkColor(cairo_t* cr);
    virtual void PaintBkImage(cairo_t* cr);
    virtual void PaintStatusImage(cairo_t* cr);
    virtual void PaintText(cairo_t* cr);
    virtual void PaintBorder(cairo_t* cr);

    // Convenience: send a notification from this control through its manager.
    void Notify(const char* type, WPARAM wParam = 0, LPARAM lParam = 0, bool async = false);

protected:
    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CStdString m_sName;
    bool m_bUpdateNeeded = true;
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bFocused = false;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bKeyboardEnabled = true;
    bool m_bFloat = false;
    bool m_bSetPos = false;  // guards re-entry of SetPos
    RECT m_rcItem{};
    RECT m_rcPadding{};
    SIZE m_cXY{};
    SIZE m_cxyFixed{};
    SIZE m_cxyMin{};
    SIZE m_cxyMax{9999, 9999};
    RECT m_rcPaint{};
    CStdString m_sText;
    CStdString m_sToolTip;
    CStdString m_sUserData;
    UINT_PTR m_pTag = 0;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBackColor2 = 0;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    CStdString m_sBkImage;
    int m_nBorderSize = 0;
    SIZE m_cxyBorderRound{};
    int m_nSchemeMode = 0;
    int m_nSchemeShade = 0;
};

// a over b, both ARGB (b treated as opaque): the opaque colour seen.
DWORD Over(DWORD a, DWORD b);
// The opaque colour a control's content is seen on: its own colour (ownColour, which may
// be translucent or 0 for none) blended over its parents' colours, up to the first opaque
// one (white where none is). 0 when nothing under it has a colour.
DWORD BackgroundBehind(const CControlUI* control, DWORD ownColour);

}  // namespace uilib
