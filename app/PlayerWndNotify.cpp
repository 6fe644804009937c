// What the main window does with the notifications of its layout's controls: one table,
// tested in order, each row naming the notification, the sender it is for (any sender
// where none is named) and the step that follows.
#include "app/PlayerWnd.h"

#include "app/DisplayRules.h"
#include "engine/SlaveCommands.h"
#include "uilib/PaintManager.h"
#include "uilib/controls/Edit.h"

namespace orvella {

using uilib::CControlUI;
using uilib::TNotifyUI;

const CPlayerWnd::NotifyRoute CPlayerWnd::kNotifyRoutes[] = {
    {"windowinit", nullptr, &CPlayerWnd::OnWindowInitNotify},
    {"dvdnavmousemove", nullptr, &CPlayerWnd::OnDvdMouseMove},
    {"pausemedia", nullptr, &CPlayerWnd::OnVideoClicked},
    {"showmainrightkeymenu", nullptr, &CPlayerWnd::OnVideoContextMenu},
    {"fullscreen", nullptr, &CPlayerWnd::OnFullScreenNotify},
    {"showtopbar", nullptr, &CPlayerWnd::OnShowTopBar},
    {"hidetopbar", nullptr, &CPlayerWnd::OnHideTopBar},
    {"showbottombar", nullptr, &CPlayerWnd::OnBottomBars},
    {"hidebottombar", nullptr, &CPlayerWnd::OnBottomBars},
    {"positionchanged", "media", &CPlayerWnd::OnMediaMoved},
    {"videoresizing", "media", &CPlayerWnd::OnVideoResizing},
    {"videoresized", "media", &CPlayerWnd::OnVideoResized},
    {"itemclick", "playlist", &CPlayerWnd::OnPlaylistItemClick},
    {"valuechangebegin", "playslider", &CPlayerWnd::OnPositionSliderMoved},
    {"valuechangebegin", "volumeslider", &CPlayerWnd::OnVolumeSliderMoved},
    {"valuechanged", "volumeslider", &CPlayerWnd::OnVolumeSliderMoved},
    {"valuechangeend", "playslider", &CPlayerWnd::OnPositionSliderReleased},
    {"currentmousevaluechanged", "playslider", &CPlayerWnd::OnPositionSliderHover},
    {"mouseleave", "playslider", &CPlayerWnd::OnPositionSliderLeft},
    {"itemselect", "backupCombo", &CPlayerWnd::OnSeekComboSelect},
    {"itemselect", "goaheadCombo", &CPlayerWnd::OnSeekComboSelect},
    {"itemselect", "fileCombo", &CPlayerWnd::OnFileComboSelect},
    {"click", nullptr, &CPlayerWnd::OnClickNotify},
    {"showmenu", nullptr, &CPlayerWnd::OnShowMenuNotify},
    {"menuselected", nullptr, &CPlayerWnd::OnMenuSelectedNotify},
    {"listrightclick", "playlist", &CPlayerWnd::OnPlaylistRightClick},
    {"return", "URLbar_edit", &CPlayerWnd::OnUrlEditKey},
    {"escape", "URLbar_edit", &CPlayerWnd::OnUrlEditKey},
};

void CPlayerWnd::Notify(TNotifyUI& msg) {
    if (!m_pm || !msg.pSender) return;
    // A row chosen in one of our menus comes from the menu's own controls.
    if (msg.sType == "menuselected" && IsFromOwnMenu(msg.pSender)) return OnMenuSelectedNotify(msg);
    if (msg.pSender->GetManager() != m_pm.get()) return;
    const std::string& type = msg.sType;
    for (const NotifyRoute& route : kNotifyRoutes) {
        if (type != route.type) continue;
        if (route.sender && msg.pSender->GetName() != route.sender) continue;
        (this->*route.handler)(msg);
        return;
    }
}

void CPlayerWnd::OnWindowInitNotify(TNotifyUI&) { OnWindowInit(); }

bool CPlayerWnd::InDvdMenu() const {
    return m_playback.IsDvdNavigation() && m_playback.Media().inDvdMenu;
}

void CPlayerWnd::OnDvdMouseMove(TNotifyUI& msg) {
    if (!InDvdMenu()) return;
    const uintptr_t at = static_cast<uintptr_t>(msg.lParam);
    m_playback.Slave().Send(slave::SetMousePos(LOWORD(at), HIWORD(at)));
}

void CPlayerWnd::OnVideoClicked(TNotifyUI&) {
    // The video is a window of its own: its clicks do not pass the main window's press.
    m_dialogs.HideFacade();
    // A single click on the video chooses the highlighted button of a DVD menu.
    if (InDvdMenu()) m_playback.Slave().Send(slave::DvdNav(DvdNavKey::Select));
}

void CPlayerWnd::OnVideoContextMenu(TNotifyUI&) { ShowVideoContextMenu(); }

void CPlayerWnd::OnFullScreenNotify(TNotifyUI&) { m_display.ToggleFullScreen(); }

void CPlayerWnd::OnShowTopBar(TNotifyUI&) { m_dialogs.ShowTopBar(); }

void CPlayerWnd::OnHideTopBar(TNotifyUI&) {
    if (m_dialogs.TopBarExists()) m_dialogs.HideTopBar();
}

void CPlayerWnd::OnBottomBars(TNotifyUI& msg) { m_display.ShowBottomBars(msg.sType == "showbottombar"); }

void CPlayerWnd::OnMediaMoved(TNotifyUI& msg) {
    // The video area placed its window already; the top bar follows its width.
    const RECT& area = msg.pSender->GetPos();
    m_display.FitTopBar(area.right - area.left);
}

void CPlayerWnd::OnVideoResizing(TNotifyUI&) { m_playback.VideoResizing(); }

void CPlayerWnd::OnVideoResized(TNotifyUI&) { m_playback.RedrawPausedPicture(); }

void CPlayerWnd::OnPlaylistItemClick(TNotifyUI& msg) {
    if (msg.wParam == 0) m_playlistControl.PlayRow(static_cast<int>(msg.lParam));
}

void CPlayerWnd::OnPositionSliderMoved(TNotifyUI& msg) {
    m_playback.BeginSliderDrag(static_cast<int>(msg.wParam));
}

void CPlayerWnd::OnVolumeSliderMoved(TNotifyUI& msg) { m_playback.SetVolume(static_cast<int>(msg.wParam)); }

void CPlayerWnd::OnPositionSliderReleased(TNotifyUI& msg) {
    m_playback.EndSliderDrag(static_cast<int>(msg.wParam));
}

void CPlayerWnd::OnPositionSliderHover(TNotifyUI& msg) {
    m_playback.PreviewSliderValue(static_cast<int>(msg.wParam));
}

void CPlayerWnd::OnPositionSliderLeft(TNotifyUI&) { m_playback.ShowCurrentTime(); }

void CPlayerWnd::OnSeekComboSelect(TNotifyUI& msg) {
    const bool forward = msg.pSender->GetName() == "goaheadCombo";
    m_playback.SeekBy(SeekStepForComboItem(static_cast<int>(msg.wParam), forward));
}

void CPlayerWnd::OnFileComboSelect(TNotifyUI& msg) {
    const int item = static_cast<int>(msg.wParam);
    const std::string drive = m_view.ComboItemText("fileCombo", item);
    // The combo is a list of actions, not a choice it keeps: the same item can be taken
    // again next time.
    m_view.ClearComboSelection("fileCombo");
    switch (item) {
    case 0: m_playlistControl.RequestOpenFiles(); break;
    case 1: SetTimer(m_hWnd, TIMER_OPEN_FOLDER, 100); break;
    case 2: ShowUrlBar(); break;
    default:
        if (item > 2) m_discs.OpenDrive(drive);
        break;
    }
}

void CPlayerWnd::CloseChildWindows() {
    CloseSkinWindowOfMain();
    CloseSettingsWindow();
    if (m_dialogs.TopBarExists()) m_dialogs.HideTopBar();
}

void CPlayerWnd::ShowQuestion(WPARAM kind, LPARAM) { m_dialogs.AskQuestion(static_cast<int>(kind)); }

void CPlayerWnd::ShowUrlBar() {
    m_view.ShowControl("URLbar", true);
    if (CControlUI* strip = m_pm->FindControl("URLbar_visible")) strip->SetBkColor(m_pm->GetMainBKColor());
    // The last address stays, chosen whole: typing replaces it, an arrow key keeps it.
    CControlUI* control = m_pm->FindControl("URLbar_edit");
    auto* edit = control ? static_cast<uilib::CEditUI*>(control->GetInterface("Edit")) : nullptr;
    if (!edit) return;
    edit->SetFocus();
    edit->SetSelAll();
}

void CPlayerWnd::PlayUrlBarAddress() {
    const std::string typed = m_view.ControlText("URLbar_edit");
    CloseUrlBar();
    m_playlistControl.PlayTypedAddress(typed);
}

void CPlayerWnd::CloseUrlBar() {
    m_view.ShowControl("URLbar", false);
    // The hidden field must not keep the keyboard from the hotkeys.
    if (m_pm->GetFocus() == m_pm->FindControl("URLbar_edit")) m_pm->SetFocus(nullptr);
}

void CPlayerWnd::OnUrlEditKey(TNotifyUI& msg) {
    if (msg.sType == "return") return PlayUrlBarAddress();
    CloseUrlBar();
}

void CPlayerWnd::OnClickNotify(TNotifyUI& msg) { OnClick(msg.pSender); }

void CPlayerWnd::OnShowMenuNotify(TNotifyUI& msg) { OpenMenuOf(msg.pSender); }



void CPlayerWnd::OnMenuSelectedNotify(TNotifyUI& msg) {
    RunMenuCommand(std::string(msg.pSender->GetName().c_str()));
}

void CPlayerWnd::OnPlaylistRightClick(TNotifyUI&) { ShowPlaylistContextMenu(); }

namespace {
enum class Click {
    Play, Pause, Stop, Next, Previous, OpenFiles, PlaylistPanel, Expand, DeleteFile, Clear,
    SavePlaylist, LoadPlaylist, MuteOn, MuteOff, Facade, SeekBack, SeekForward, UrlOk,
    UrlCancel, ClipClose, Nothing,
};
// What a click on a named control of the main layout does.
const struct {
    const char* name;
    Click action;
} kClickTable[] = {
    {"help", Click::Nothing},        {"tools", Click::Nothing},  // they open menus
    // The folder button opens files whatever plays: as "play" it did nothing while a clip ran.
    {"play", Click::Play},           {"openfile", Click::OpenFiles},
    {"pause", Click::Pause},         {"stop", Click::Stop},
    {"next", Click::Next},           {"previous", Click::Previous},
    {"facade", Click::Facade},
    {"file", Click::OpenFiles},      {"addfile", Click::OpenFiles},
    {"list", Click::PlaylistPanel},  {"expand", Click::Expand},
    {"deletefile", Click::DeleteFile}, {"clear", Click::Clear},
    {"saveplaylist", Click::SavePlaylist}, {"loadplaylist", Click::LoadPlaylist},
    {"backup", Click::SeekBack},     {"goahead", Click::SeekForward},
    {"mute_on", Click::MuteOn},      {"mute_off", Click::MuteOff},
    {"URLbar_OK", Click::UrlOk},     {"URLbar_Cancel", Click::UrlCancel},
    {"ID_PLAYER_CLIP_CLOSE", Click::ClipClose},
};
}  // namespace

void CPlayerWnd::OnClick(CControlUI* sender) {
    // The caption buttons by identity, then the rest by name.
    if (sender == m_closeButton) {
        CloseChildWindows();
        return Close();
    }
    if (sender == m_minButton) return MinimizeWindow();
    if (sender == m_maxButton) {
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return;
    }
    if (sender == m_restoreButton) {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        return;
    }
    const std::string name = sender->GetName().c_str();
    for (const auto& row : kClickTable) {
        if (name != row.name) continue;
        switch (row.action) {
        case Click::Nothing: break;
        case Click::Play: m_playback.Play(); break;
        case Click::Pause: m_playback.Pause(); break;
        case Click::Stop: m_playback.Stop(); break;
        case Click::Next: m_playlistControl.PlayNext(); break;
        case Click::Previous: m_playlistControl.PlayPrevious(); break;
        case Click::Facade: OpenSkinWindow(sender); break;
        case Click::OpenFiles: m_playlistControl.RequestOpenFiles(); break;
        case Click::PlaylistPanel: {
            const bool shown = !m_playback.PlaylistPanelShown();
            m_playback.SetPlaylistPanelShown(shown);
            m_view.ShowControl("playlistbar", shown);
            m_view.ShowControl("expandbar", shown);
            break;
        }
        case Click::Expand:
            if (CControlUI* bar = m_pm->FindControl("playlistbar")) bar->SetVisible(!bar->IsVisible());
            break;
        case Click::DeleteFile: m_playlistControl.DeleteCurrentItem(); break;
        case Click::Clear: PostMessage(WM_SHOW_QUESTION, 0, 0); break;
        case Click::SavePlaylist: m_playlistControl.SavePlaylistDialog(); break;
        case Click::LoadPlaylist: m_playlistControl.LoadPlaylistDialog(); break;
        case Click::SeekBack:
        case Click::SeekForward: {
            const bool forward = row.action == Click::SeekForward;
            const int item = m_view.ComboSelection(forward ? "goaheadCombo" : "backupCombo");
            m_playback.SeekBy(SeekStepForButton(item, forward));
            break;
        }
        case Click::MuteOn:
        case Click::MuteOff: {
            const bool mute = row.action == Click::MuteOn;
            m_playback.Slave().Mute(mute);
            // Also without an engine: the next one starts as the buttons say.
            m_playback.SlaveStateRef().mute = mute;
            m_playback.SetMuteButtons(mute);
            m_playback.StoreSoundSettings();
            break;
        }
        case Click::UrlOk: PlayUrlBarAddress(); break;
        case Click::UrlCancel: CloseUrlBar(); break;
        case Click::ClipClose: m_view.ShowControl("ID_PLAYER_CLIPBAR", false); break;
        }
        return;
    }
}

}  // namespace orvella
