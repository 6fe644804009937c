// What the main window does with the notifications of its layout's controls.
#include "app/PlayerWnd.h"

#include "uilib/PaintManager.h"

namespace orvella {

using uilib::CControlUI;
using uilib::TNotifyUI;

void CPlayerWnd::Notify(TNotifyUI& msg) {
    if (!m_pm || !msg.pSender || msg.pSender->GetManager() != m_pm) return;
    if (msg.sType == "windowinit") {
        OnWindowInit();
    } else if (msg.sType == "click") {
        OnClick(msg.pSender);
    } else if (msg.sType == "itemclick") {
        if (msg.wParam == 0 && msg.pSender->GetName() == "playlist") {
            m_playlistControl.PlayRow(static_cast<int>(msg.lParam));
        }
    } else if (msg.sType == "valuechangeend") {
        OnSliderReleased(msg.pSender, static_cast<int>(msg.wParam));
    }
}

namespace {
enum class Click {
    Play, Pause, Stop, Next, Previous, OpenFiles, PlaylistPanel, Expand, DeleteFile, Clear,
    SavePlaylist, LoadPlaylist, MuteOn, MuteOff,
};
// What a click on a named control of the main layout does.
const struct {
    const char* name;
    Click action;
} kClickTable[] = {
    {"play", Click::Play},           {"openfile", Click::Play},
    {"pause", Click::Pause},         {"stop", Click::Stop},
    {"next", Click::Next},           {"previous", Click::Previous},
    {"file", Click::OpenFiles},      {"addfile", Click::OpenFiles},
    {"list", Click::PlaylistPanel},  {"expand", Click::Expand},
    {"deletefile", Click::DeleteFile}, {"clear", Click::Clear},
    {"saveplaylist", Click::SavePlaylist}, {"loadplaylist", Click::LoadPlaylist},
    {"mute_on", Click::MuteOn},      {"mute_off", Click::MuteOff},
};
}  // namespace

void CPlayerWnd::OnClick(CControlUI* sender) {
    // The caption buttons by identity, then the rest by name.
    if (sender == m_closeButton) return Close();
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
        case Click::Play: m_playback.Play(); break;
        case Click::Pause: m_playback.Pause(); break;
        case Click::Stop: m_playback.Stop(); break;
        case Click::Next: m_playlistControl.PlayNext(); break;
        case Click::Previous: m_playlistControl.PlayPrevious(); break;
        case Click::OpenFiles: m_playlistControl.OpenFilesDialog(); break;
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
        }
        return;
    }
}

void CPlayerWnd::OnSliderReleased(CControlUI* sender, int value) {
    if (sender->GetName() == "playslider") {
        m_playback.SeekToPercent(value);
    } else if (sender->GetName() == "volumeslider") {
        m_playback.Slave().Volume(value, true);
        m_playback.SetMuteButtons(false);
        m_playback.StoreSoundSettings();
    }
}

void CPlayerWnd::ShowQuestion(WPARAM kind, LPARAM) {
    // Until the skin's own question window exists, the desktop asks.
    if (kind == 0 && platform::GetBackend().AskYesNo(m_hWnd, "Clear play list",
                                                     "Are you sure you want to clear play list?")) {
        m_playlistControl.Clear();
    }
}

}  // namespace orvella
