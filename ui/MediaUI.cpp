#include "ui/MediaUI.h"

#include <algorithm>
#include <cstring>

#include "ui/MediaAreaRules.h"
#include "ui/MediaWnd.h"
#include "uilib/PaintManager.h"

namespace orvella {

CMediaUI::~CMediaUI() {
    // The native window outlives a layout only when it was detached for a rebuild.
    if (m_video) m_video->Detach();
}

void* CMediaUI::GetInterface(const char* name) {
    if (name && std::strcmp(name, "Media") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CMediaUI::SetPos(RECT rc, bool needInvalidate) {
    CContainerUI::SetPos(rc, needInvalidate);
    PlaceVideoWindow();
    Notify("positionchanged");
}

void CMediaUI::DoEvent(uilib::TEventUI& event) {
    // Where the video window does not cover the area (its one-pixel frame, or before
    // it exists), the area passes the mouse on as if it were over the video.
    HWND video = m_video ? m_video->GetHWND() : nullptr;
    switch (event.Type) {
    case uilib::UIEVENT_BUTTONDOWN:
        if (video) ::PostMessage(video, WM_LBUTTONDOWN, 0, 0);
        return;
    case uilib::UIEVENT_DBLCLICK:
        if (video) ::PostMessage(video, WM_LBUTTONDBLCLK, 0, 0);
        return;
    case uilib::UIEVENT_MOUSEMOVE: {
        if (!video) return;
        const LONG x = event.ptMouse.x;
        const LONG y = event.ptMouse.y - GetPos().top;
        ::PostMessage(video, WM_MOUSEMOVE, CMediaWnd::kForwarded,
                      static_cast<LPARAM>(MAKELPARAM(x, y)));
        return;
    }
    case uilib::UIEVENT_CONTEXTMENU:
        Notify("showmainrightkeymenu");
        return;
    default:
        CContainerUI::DoEvent(event);
    }
}

void CMediaUI::PlaceVideoWindow() {
    if (!m_video || !m_video->GetHWND() || !m_pManager) return;
    RECT client{};
    GetClientRect(m_pManager->GetPaintWindow(), &client);
    const RECT rc = VideoWindowRect(GetPos(), client.right);
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        ::ShowWindow(m_video->GetHWND(), SW_HIDE);
        return;
    }
    SetWindowPos(m_video->GetHWND(), nullptr, rc.left, rc.top, rc.right - rc.left,
                 rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

CMediaWnd* CMediaUI::CreateVideoWindow() {
    DestroyVideoWindow();
    if (!m_pManager || !m_pManager->GetPaintWindow()) return nullptr;
    auto* video = new CMediaWnd(this);
    const RECT& rc = GetPos();
    HWND hwnd = video->Create(m_pManager->GetPaintWindow(), "", WS_CHILD | WS_VISIBLE, 0,
                              rc.left, rc.top, std::max<LONG>(rc.right - rc.left, 1),
                              std::max<LONG>(rc.bottom - rc.top, 1));
    if (!hwnd) return nullptr;  // a failed Create has already deleted it
    m_video = video;
    PlaceVideoWindow();
    return m_video;
}

void CMediaUI::DestroyVideoWindow() {
    CMediaWnd* video = m_video;
    m_video = nullptr;
    if (video && video->GetHWND()) {
        video->Detach();
        DestroyWindow(video->GetHWND());  // deletes the object
    }
}

CMediaWnd* CMediaUI::DetachVideoWindow() {
    CMediaWnd* video = m_video;
    m_video = nullptr;
    if (video) video->Detach();
    return video;
}

void CMediaUI::AttachVideoWindow(CMediaWnd* video) {
    DestroyVideoWindow();
    m_video = video;
    if (m_video) m_video->SetOwner(this);
    PlaceVideoWindow();
}

void CMediaUI::VideoWindowGone(CMediaWnd* video) {
    if (m_video == video) m_video = nullptr;
}

}  // namespace orvella
