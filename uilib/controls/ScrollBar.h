// A scroll bar: a track with a draggable thumb and optional arrow buttons. Owned by a
// container it scrolls that container; alone it keeps its own position and sends
// "scroll". Drawn with colours; pictures are optional.
#pragma once

#include "uilib/Control.h"

namespace uilib {

class CContainerUI;

class CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();
    ~CScrollBarUI() override;

    const char* GetClass() const override;          // "ScrollBarUI"
    void* GetInterface(const char* name) override;  // "ScrollBar"
    UINT GetControlFlags() const override { return 0; }

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);

    // Range is the scrollable extent (content minus view); position 0..range.
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int pos);  // clamped; moves the thumb, no notification
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int size);
    // The visible extent the range is measured against (0: the bar's own length).
    int GetPageSize() const;
    void SetPageSize(int size);
    bool GetShowButton1() const { return m_bShowButton1; }
    void SetShowButton1(bool show);
    bool GetShowButton2() const { return m_bShowButton2; }
    void SetShowButton2(bool show);

    // User actions: go through the owner when there is one.
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    void ScrollTo(int pos);

    const RECT& GetThumbRect() const { return m_rcThumb; }
    const RECT& GetButton1Rect() const { return m_rcButton1; }
    const RECT& GetButton2Rect() const { return m_rcButton2; }
    UINT GetThumbState() const { return m_uThumbState; }

    // Direction of a wheel event: -1 towards the start (up/left), +1 towards the end.
    // Accepts both the raw WM_MOUSEWHEEL wParam (delta in the high word) and
    // SB_LINEUP (0) / SB_LINEDOWN (1) in the low word.
    static int WheelDirection(const TEventUI& event);

    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const char* name, const char* value) override;
    void DoPaint(cairo_t* cr, const RECT& rcPaint) override;

private:
    enum class Repeat { None, LineUp, LineDown, PageUp, PageDown };
    void UpdateThumb();
    int TrackStart() const;
    int TrackEnd() const;
    int Along(POINT pt) const { return m_bHorizontal ? pt.x : pt.y; }
    void RunRepeat();
    void PaintArrow(cairo_t* cr, const RECT& rc, bool towardsStart, UINT state) const;

    CContainerUI* m_pOwner = nullptr;
    bool m_bHorizontal = false;
    int m_nRange = 100;
    int m_nScrollPos = 0;
    int m_nLineSize = 8;
    int m_nPageSize = 0;
    bool m_bShowButton1 = false;
    bool m_bShowButton2 = false;
    RECT m_rcThumb{};
    RECT m_rcButton1{};
    RECT m_rcButton2{};
    UINT m_uThumbState = 0;
    UINT m_uButton1State = 0;
    UINT m_uButton2State = 0;
    POINT m_ptDragStart{};
    int m_nDragStartPos = 0;
    Repeat m_repeat = Repeat::None;
    int m_nRepeatTicks = 0;

    DWORD m_dwTrackColor = 0x18808080;
    DWORD m_dwThumbColor = 0x70808080;
    DWORD m_dwThumbHotColor = 0x98909090;
    DWORD m_dwThumbPushedColor = 0xC0A0A0A0;
    DWORD m_dwArrowColor = 0xB0909090;
    CStdString m_sThumbNormalImage, m_sThumbHotImage, m_sThumbPushedImage;
    CStdString m_sButton1Image, m_sButton2Image, m_sRailImage;
};

}  // namespace uilib
