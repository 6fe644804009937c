#include "ui/FullScreenTopBarWnd.h"

#include "ui/MenuUI.h"
#include "uilib/Control.h"

namespace orvella {

namespace {

enum class TopmostButtons { Keep, ShowSelected, ShowNormal };

// What each button of the bar tells the main window.
struct TopBarClick {
    const char* button;
    const char* notification;
    WPARAM wParam;
    TopmostButtons after;
};

const TopBarClick kClicks[] = {
    {"fullscreen", "fullscreen", 0, TopmostButtons::Keep},
    {"topmost", "topmost", 0, TopmostButtons::ShowSelected},
    {"topmost_selected", "topmost", 0, TopmostButtons::ShowNormal},
    {"auto", "settings_setratio", 0, TopmostButtons::Keep},
    {"4:3", "settings_setratio", 3, TopmostButtons::Keep},
    {"16:9", "settings_setratio", 7, TopmostButtons::Keep},
    {"original", "originalsize", 0, TopmostButtons::Keep},
    {"double", "doublesize", 0, TopmostButtons::Keep},
    {"brightness_increase", "brightnessincrease", 0, TopmostButtons::Keep},
    {"brightness_decrease", "brightnessdecrease", 0, TopmostButtons::Keep},
    {"saturation_increase", "saturationincrease", 0, TopmostButtons::Keep},
    {"saturation_decrease", "saturationdecrease", 0, TopmostButtons::Keep},
    {"contrast_increase", "contrastincrease", 0, TopmostButtons::Keep},
    {"contrast_decrease", "contrastdecrease", 0, TopmostButtons::Keep},
    {"dvdnav_up", "dvdnav", 1, TopmostButtons::Keep},
    {"dvdnav_down", "dvdnav", 2, TopmostButtons::Keep},
    {"dvdnav_left", "dvdnav", 3, TopmostButtons::Keep},
    {"dvdnav_right", "dvdnav", 4, TopmostButtons::Keep},
    {"dvdnav_menu", "dvdnav", 5, TopmostButtons::Keep},
    {"dvdnav_select", "dvdnav", 6, TopmostButtons::Keep},
    {"dvdnav_selectsub", "dvdnav_select_subtitle", 0, TopmostButtons::Keep},
    {"dvdnav_loadsub", "dvdnav_load_subtitle", 0, TopmostButtons::Keep},
    {"screen_shot", "screenshot", 0, TopmostButtons::Keep},
};

}  // namespace

void CFullScreenTopBarWnd::ShowTopmostState(bool topmost) {
    ShowControl("topmost", !topmost);
    ShowControl("topmost_selected", topmost);
}

void CFullScreenTopBarWnd::ShowDvdButtons(bool disc) {
    ShowControl("ID_MAINMENU_DVD_TITLE", disc);
    ShowControl("ID_MAINMENU_DVD_CHAPTER", disc);
}

void CFullScreenTopBarWnd::OpenDvdMenu(uilib::CControlUI* button) {
    auto* menuButton = dynamic_cast<CMenuUI*>(button);
    if (!m_owner || !menuButton) return;
    MenuOwner owner = m_owner->MenuOwnerForTopBar();
    owner.notifier = this;  // hears "menu_release"; the chosen row comes to Notify
    CMenuWnd::OpenDropDown(owner, menuButton, "_SUB");
}

LRESULT CFullScreenTopBarWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == WM_MOUSEMOVE && !m_trackingMouse) || (msg == WM_SHOWWINDOW && wParam)) {
        // Hear when the pointer leaves, so the bar can get out of the way: from the
        // moment it shows (it shows under the pointer), as a pointer that goes at once
        // never moves over it.
        m_trackingMouse = platform::GetBackend().TrackMouseLeave(m_hWnd);
    } else if (msg == WM_MOUSELEAVE) {
        m_trackingMouse = false;
        // While one of its menus is open the pointer is over the menu, not gone.
        if (!GetOpenPopupMenu()) ShowWindow(false);
    }
    return CSkinWindow::HandleMessage(msg, wParam, lParam);
}

void CFullScreenTopBarWnd::NotifyFromWindow(uilib::TNotifyUI& msg) {
    if (msg.sType == "menu_release") {
        SetOpenPopupMenu(nullptr);
        // The pointer left the bar for the menu; without it back on the bar, nothing
        // else would hide it.
        if (!PointerOverBar()) ShowWindow(false);
    } else {
        CSkinWindow::NotifyFromWindow(msg);
    }
}

bool CFullScreenTopBarWnd::PointerOverBar() const {
    POINT pointer{};
    RECT bar{};
    if (!m_hWnd || !GetCursorPos(&pointer) || !GetWindowRect(m_hWnd, &bar)) return false;
    return pointer.x >= bar.left && pointer.x < bar.right && pointer.y >= bar.top && pointer.y < bar.bottom;
}

void CFullScreenTopBarWnd::Notify(uilib::TNotifyUI& msg) {
    if (!msg.pSender) return;
    if (msg.sType == "menuselected") {
        // The sender is the picked item of the menu window; its name is the command.
        ShowWindow(false);
        if (m_owner) m_owner->RunMenuCommand(msg.pSender->GetName());
        return;
    }
    if (!IsOwnControl(msg.pSender)) return;
    if (msg.sType == "click") {
        OnClick(msg.pSender);
    } else if (msg.sType == "showmenu") {
        OpenDvdMenu(msg.pSender);
    }
}

void CFullScreenTopBarWnd::OnClick(uilib::CControlUI* sender) {
    const uilib::CStdString name = sender->GetName();
    for (const TopBarClick& click : kClicks) {
        if (name != click.button) continue;
        SendWindowNotify(click.notification, click.wParam);
        if (click.after != TopmostButtons::Keep) {
            ShowTopmostState(click.after == TopmostButtons::ShowSelected);
        }
        return;
    }
}

}  // namespace orvella
