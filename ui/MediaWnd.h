// The native child window the engine draws into.
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

private:
    CMediaUI* m_owner;
    bool m_needsBlackFill = true;  // the first paint after creation clears to black
    bool m_trackingMouse = false;
};

}  // namespace orvella
