// The area of the main layout in which the video window lives (layout tag "Media").
#pragma once

#include "uilib/Container.h"

namespace orvella {

class CMediaWnd;

class CMediaUI : public uilib::CContainerUI {
public:
    ~CMediaUI() override;

    const char* GetClass() const override { return "MediaUI"; }
    void* GetInterface(const char* name) override;
    void SetPos(RECT rc, bool needInvalidate = true) override;
    void DoEvent(uilib::TEventUI& event) override;

    // Creates the video window as a visible child of the main window at this control's
    // rectangle, destroying any previous one. nullptr when it could not be made.
    CMediaWnd* CreateVideoWindow();
    void DestroyVideoWindow();
    CMediaWnd* GetVideoWindow() const { return m_video; }
    // Hands the video window over without destroying it (a layout rebuild).
    CMediaWnd* DetachVideoWindow();
    void AttachVideoWindow(CMediaWnd* video);

    void VideoWindowGone(CMediaWnd* video);  // its native window was destroyed

private:
    void PlaceVideoWindow();
    CMediaWnd* m_video = nullptr;
};

}  // namespace orvella
