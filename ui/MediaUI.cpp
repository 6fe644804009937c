#include "ui/MediaUI.h"

#include <algorithm>
#include <cstring>

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

void CMediaUI::PlaceVideoWindow() {
    if (!m_video || !m_video->GetHWND() || !m_pManager) return;
    RECT rc = GetPos();
    RECT client{};
    GetClientRect(m_pManager->GetPaintWindow(), &client);
    // One pixel of the frame stays ours on both sides.
    rc.left = std::max<LONG>(rc.left, 1);
    rc.right = std::min<LONG>(rc.right, client.right - 1);
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
