// The native child window the engine draws into. It also takes the mouse over the
// picture: a single click (200 ms later, unless a second click makes it a double click)
// selects in a DVD menu, a double click toggles full screen, the right button asks for
// the context menu, and moves tell the main window where the bars over the video are
// wanted. Changes of size are told, so that a paused picture is drawn again to fit.
#pragma once

#include "uilib/WindowWnd.h"

namespace orvella {

class CMediaUI;

class CMediaWnd : public uilib::CWindowWnd {
public:
    explicit CMediaWnd(CMediaUI* owner) : m_owner(owner) {}

    const char* GetWindowClassName() const override { return "MediaWnd"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND hwnd) override;

    // The X11 window id the engine is given with -wid.
    unsigned long GetNativeId() const;
    void Detach() { m_owner = nullptr; }
    void SetOwner(CMediaUI* owner) { m_owner = owner; }
    // Paints itself black once more (a new video starts in it).
    void RepaintBlack();


    // Marks a button press or a move that came through the video area control rather
    // than from the pointer over this window.
    static constexpr WPARAM kForwarded = 0x8000;
    static constexpr UINT_PTR kClickTimer = 100;
    static constexpr UINT kClickDelayMs = 200;
    // "videoresizing" goes to the main window with each change of size, "videoresized"
    // once the size has stayed put this long (a drag by the corner resizes many times).
    static constexpr UINT_PTR kSizeSettledTimer = 101;
    static constexpr UINT kSizeSettleMs = 250;

private:
    void SendToMain(const char* type, WPARAM wParam = 0, LPARAM lParam = 0);
    void OnMouseMove(WPARAM wParam, LPARAM lParam);
    void OnPaint();

    CMediaUI* m_owner;
    bool m_clickPending = false;
    bool m_needsBlackFill = true;  // the first paint after creation clears to black

    bool m_trackingMouse = false;
};

}  // namespace orvella
