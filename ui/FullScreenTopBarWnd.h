// The strip of buttons over the top of the video in full screen: display, picture and
// DVD controls. The main window creates it once, then only places, shows and hides it.
#pragma once

#include <string>

#include "ui/MenuWnd.h"
#include "ui/SkinWindow.h"

namespace orvella {

// Whoever runs the menu commands picked from the bar's DVD menus (the main window).
class IMenuCommandRunner {
public:
    virtual ~IMenuCommandRunner() = default;
    virtual void RunMenuCommand(const std::string& name) = 0;
    // What the bar's own menus are made with (skin, language, the player's state).
    virtual MenuOwner MenuOwnerForTopBar() { return MenuOwner(); }
};

class CFullScreenTopBarWnd : public CSkinWindow {
public:
    CFullScreenTopBarWnd() : CSkinWindow("topbar.xml", true) {}

    const char* GetWindowClassName() const override { return "UITopBarWnd"; }
    const char* GetWindowTitle() const override { return "Fullscreen topbar Wnd"; }

    void SetOwner(IMenuCommandRunner* owner) { m_owner = owner; }
    IMenuCommandRunner* GetOwner() const { return m_owner; }

    // "topmost" shows while the window is not topmost, "topmost_selected" while it is.
    void ShowTopmostState(bool topmost);
    // The title and chapter menus show only while a disc plays.
    void ShowDvdButtons(bool disc);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // "changecolor" (wParam) and "changeshading" (lParam) recolour; "menu_release"
    // forgets the open popup menu.
    void NotifyFromWindow(uilib::TNotifyUI& msg) override;
    // Button clicks become the main window's notifications; a picked DVD menu item
    // hides the bar and goes to the owner.
    void Notify(uilib::TNotifyUI& msg) override;

protected:
    bool DrawsOwnFrame() const override { return false; }  // a plain rectangle
    bool TakesShadingColour() const override { return true; }

private:
    void OnClick(uilib::CControlUI* sender);
    bool PointerOverBar() const;
    // The DVD title, chapter, audio and subtitle menus open here once the menu window
    // exists.
    // A DVD button's menu: the titles, chapters, audio tracks or subtitles.
    void OpenDvdMenu(uilib::CControlUI* button);

    bool m_trackingMouse = false;
    IMenuCommandRunner* m_owner = nullptr;
};

}  // namespace orvella
