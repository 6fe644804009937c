// What the main window does with the notifications of the program's other windows (the
// top bar, the small dialogs, and the skin, settings and menu windows as they come):
// one table from the notification's name to its step.
#include "app/PlayerWnd.h"

#include "engine/SlaveCommands.h"
#include "ui/QuestionTexts.h"
#include "uilib/PaintManager.h"

namespace orvella {

using uilib::TNotifyUI;

namespace {
enum class WindowNote {
    ChangeSkin, ChangeColor, ChangeShading, FullScreen, Topmost, OriginalSize, DoubleSize,
    Screenshot, BrightnessDown, BrightnessUp, ContrastDown, ContrastUp, SaturationDown,
    SaturationUp, DvdNav, DvdSelectSubtitle, DvdLoadSubtitle, MenuRelease, MenuSelected,
    ToolsClip, CloseSettings, CloseFileInfo, CloseAbout, CloseUpdate, DownloadUpdate, CloseQuestion,
    ChangeSize, SetRatio,
};
const struct {
    const char* name;
    WindowNote note;
} kWindowNotes[] = {
    {"changeskin", WindowNote::ChangeSkin},
    {"changecolor", WindowNote::ChangeColor},
    {"changeshading", WindowNote::ChangeShading},
    {"fullscreen", WindowNote::FullScreen},
    {"topmost", WindowNote::Topmost},
    {"originalsize", WindowNote::OriginalSize},
    {"doublesize", WindowNote::DoubleSize},
    {"screenshot", WindowNote::Screenshot},
    {"brightnessdecrease", WindowNote::BrightnessDown},
    {"brightnessincrease", WindowNote::BrightnessUp},
    {"contrastdecrease", WindowNote::ContrastDown},
    {"contrastincrease", WindowNote::ContrastUp},
    {"saturationdecrease", WindowNote::SaturationDown},
    {"saturationincrease", WindowNote::SaturationUp},
    {"dvdnav", WindowNote::DvdNav},
    {"dvdnav_select_subtitle", WindowNote::DvdSelectSubtitle},
    {"dvdnav_load_subtitle", WindowNote::DvdLoadSubtitle},
    {"menu_release", WindowNote::MenuRelease},
    {"menuselected", WindowNote::MenuSelected},
    {"tools_clip", WindowNote::ToolsClip},
    {"closesettings", WindowNote::CloseSettings},
    {"fileinfo_close", WindowNote::CloseFileInfo},
    {"about_close", WindowNote::CloseAbout},
    {"update_close", WindowNote::CloseUpdate},
    {"update_download", WindowNote::DownloadUpdate},
    {"question_close", WindowNote::CloseQuestion},
    {"settings_changesize", WindowNote::ChangeSize},
    {"settings_setratio", WindowNote::SetRatio},
};

// The picture adjustments of the top bar: which one and which way, ten steps at a time.
struct Adjustment {
    WindowNote note;
    VideoAdjust which;
    int step;
};
const Adjustment kAdjustments[] = {
    {WindowNote::BrightnessDown, VideoAdjust::Brightness, -10},
    {WindowNote::BrightnessUp, VideoAdjust::Brightness, 10},
    {WindowNote::ContrastDown, VideoAdjust::Contrast, -10},
    {WindowNote::ContrastUp, VideoAdjust::Contrast, 10},
    {WindowNote::SaturationDown, VideoAdjust::Saturation, -10},
    {WindowNote::SaturationUp, VideoAdjust::Saturation, 10},
};
}  // namespace

void CPlayerWnd::NotifyFromWindow(TNotifyUI& msg) {
    if (!m_pm) return;
    const std::string& type = msg.sType;
    for (const auto& row : kWindowNotes) {
        if (type == row.name) return OnWindowNote(static_cast<int>(row.note), msg);
    }
    // The rest of the settings window's notifications.
    if (type.compare(0, 9, "settings_") == 0) OnSettingsNotification(msg);
}

void CPlayerWnd::OnWindowNote(int which, TNotifyUI& msg) {
    const auto note = static_cast<WindowNote>(which);
    for (const Adjustment& a : kAdjustments) {
        if (a.note == note) {
            m_playback.Slave().Adjust(a.which, a.step, false);
            return;
        }
    }
    switch (note) {
    case WindowNote::ChangeSkin: ReloadLayoutInSkin(static_cast<int>(msg.wParam)); break;
    case WindowNote::ChangeColor: ApplyColor(static_cast<uint32_t>(msg.wParam)); break;
    case WindowNote::ChangeShading: ApplyShading(static_cast<int>(msg.wParam)); break;
    case WindowNote::FullScreen: m_display.ToggleFullScreen(); break;
    case WindowNote::Topmost: m_display.ToggleTopmost(); break;
    case WindowNote::OriginalSize: m_display.ResizeToFactor(1.0f); break;
    case WindowNote::DoubleSize: m_display.ResizeToFactor(2.0f); break;
    case WindowNote::Screenshot: m_playback.TakeScreenshot(0); break;
    case WindowNote::DvdNav:
        if (msg.wParam >= 1 && msg.wParam <= 6) {
            m_playback.Slave().Send(slave::DvdNav(static_cast<DvdNavKey>(msg.wParam)));
        }
        break;
    case WindowNote::DvdSelectSubtitle: m_playback.Slave().ChooseSubtitleTrack(0); break;
    case WindowNote::DvdLoadSubtitle: SetTimer(m_hWnd, TIMER_LOAD_SUBTITLE, 100); break;
    case WindowNote::MenuRelease: OnMenuReleased(); break;
    case WindowNote::MenuSelected:
        // The menu window hands over the chosen row's name.
        if (msg.wParam) RunMenuCommand(*reinterpret_cast<const std::string*>(msg.wParam));
        break;
    case WindowNote::ToolsClip: m_view.ShowControl("ID_PLAYER_CLIPBAR", true); break;
    case WindowNote::CloseSettings: CloseSettingsWindow(); break;
    case WindowNote::CloseFileInfo: CloseFileInfoWindow(); break;
    case WindowNote::CloseAbout: m_dialogs.CloseAbout(); break;
    case WindowNote::CloseUpdate: CloseUpdateWindow(); break;
    // The new version is published beside its version file.
    case WindowNote::DownloadUpdate: OpenPage(UpdateBaseUrl()); break;
    case WindowNote::CloseQuestion: {
        const WPARAM kind = msg.wParam;
        m_dialogs.CloseQuestion();
        if (kind == 0 && msg.lParam == 1) m_playlistControl.Clear();
        if (kind == kRestoreDefaultsQuestion && msg.lParam == 1) m_settingsEffects.RestoreDefaults();
        break;
    }
    case WindowNote::ChangeSize: m_display.ChangeSize(static_cast<long>(msg.wParam)); break;
    case WindowNote::SetRatio: m_display.SetAspect(static_cast<long>(msg.wParam)); break;
    default: break;
    }
}

}  // namespace orvella
