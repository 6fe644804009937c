#include "app/LayoutRebuild.h"

#include <algorithm>
#include <utility>

#include "app/ChildWindows.h"
#include "app/DisplayModes.h"
#include "app/MainWindowView.h"
#include "app/PlaybackControl.h"
#include "app/StartupRules.h"
#include "library/LocalStrings.h"
#include "library/PlayerSettings.h"
#include "playlist/Playlist.h"
#include "ui/MenuUI.h"
#include "ui/MenuWnd.h"
#include "ui/SettingsWnd.h"
#include "uilib/PaintManager.h"
#include "uilib/controls/Progress.h"

namespace orvella {

RECT RebuiltWindowRect(const RECT& before, SIZE initSize, SIZE leastSize, bool playing, bool pinned) {
    if (pinned) return before;
    LONG width = before.right - before.left, height = before.bottom - before.top;
    if (!playing && initSize.cx > 0 && initSize.cy > 0) {
        width = initSize.cx;
        height = initSize.cy;
    } else if (playing) {
        width = std::max(width, leastSize.cx);
        height = std::max(height, leastSize.cy);
    }
    return RECT{before.left, before.top, before.left + width, before.top + height};
}

const char* BackgroundOfSkin(int skinIndex) { return skinIndex == 0 ? "gear" : "ocean"; }

namespace {

// The controls whose state the player sets while it runs; a new layout shows them as
// its file says. The same names in both skins.
struct CarriedRow {
    const char* name;
    bool text;  // the player writes its text
};
const CarriedRow kCarried[] = {
    {"titlebar", false},    {"toolbar", false},    {"sliderbar", false},
    {"maxbtn", false},      {"restorebtn", false}, {"startup", false},
    {"ID_MEDIA_AUDIO", false}, {"URLbar", false},  {"ID_PLAYER_CLIPBAR", false},
    {"play", false},        {"pause", false},      {"stop", false},
    {"mute_on", false},     {"mute_off", false},   {"playslider", false},
    {"volumeslider", false}, {"playlistbar", false}, {"expandbar", false},
    {"filename", true},     {"playtime", true},    {"URLbar_edit", true},
};

uilib::CProgressUI* AsSlider(uilib::CControlUI* c) {
    return static_cast<uilib::CProgressUI*>(c->GetInterface("Progress"));
}

}  // namespace

std::vector<CarriedControl> CaptureControls(uilib::CPaintManagerUI& pm) {
    std::vector<CarriedControl> carried;
    for (const CarriedRow& row : kCarried) {
        uilib::CControlUI* c = pm.FindControl(row.name);
        if (!c) continue;
        CarriedControl state;
        state.name = row.name;
        // Its own flag: a control hidden only with its bar must come back with the bar.
        state.visible = c->IsSetVisible();
        state.enabled = c->IsEnabled();
        if (row.text) state.text = std::string(c->GetText().c_str());
        if (uilib::CProgressUI* slider = AsSlider(c)) state.value = slider->GetValue();
        carried.push_back(std::move(state));
    }
    return carried;
}

void ApplyControls(uilib::CPaintManagerUI& pm, const std::vector<CarriedControl>& controls) {
    for (const CarriedControl& state : controls) {
        uilib::CControlUI* c = pm.FindControl(state.name.c_str());
        if (!c) continue;
        c->SetVisible(state.visible);
        c->SetEnabled(state.enabled);
        if (state.text) c->SetText(state.text->c_str());
        uilib::CProgressUI* slider = AsSlider(c);
        if (slider && state.value) slider->SetValue(*state.value);
    }
}

namespace {

// The windows a rebuild closes and opens again, in the order they open again. Each row
// tells whether its window is open (0: closed, else a state of its own to open it in) and
// opens it again: a later kind of window is one more row.
struct ReopenedWindow {
    int (*openState)(ChildWindows& dialogs);
    void (*reopen)(ChildWindows& dialogs, LayoutRebuildHost& host, int state);
};
const ReopenedWindow kReopened[] = {
    {[](ChildWindows& d) { return d.FileInfo() ? 1 : 0; },
     [](ChildWindows&, LayoutRebuildHost& h, int) { h.OpenFileInfoWindow(); }},
    {[](ChildWindows& d) { return d.About() ? 1 : 0; },
     [](ChildWindows& d, LayoutRebuildHost&, int) { d.OpenAbout(); }},
    {[](ChildWindows& d) { return d.Settings() ? (d.Settings()->OnPlayerPage() ? 2 : 1) : 0; },
     [](ChildWindows&, LayoutRebuildHost& h, int state) { h.OpenSettingsWindow(state == 2); }},
    {[](ChildWindows& d) { return d.Update() ? 1 : 0; },
     [](ChildWindows& d, LayoutRebuildHost&, int) { d.ReopenUpdate(); }},
};

}  // namespace

void LayoutRebuild::RequestSkin(int skinIndex) {
    if (skinIndex != 0 && skinIndex != 1) return;
    const bool posted = m_pendingSkin.has_value();
    m_pendingSkin = skinIndex;
    if (!posted) ::PostMessage(m_view.Handle(), WM_RELOAD_LAYOUT, 0, 0);
}

void LayoutRebuild::OnReloadMessage() { Run(std::exchange(m_pendingSkin, std::nullopt)); }

void LayoutRebuild::Run(std::optional<int> skinIndex) {
    uilib::CPaintManagerUI* old = m_host.CurrentPaintManager();
    const HWND window = m_view.Handle();
    if (!old || !window) return;
    RECT before{};
    GetWindowRect(window, &before);  // building may size the window to the new layout
    // The new layout first: one that cannot be built leaves the window as it was.
    const int skinBefore = m_settings.skinindex;
    const std::string languageBefore = m_settings.language;
    // The other skin's folders: a language only one skin has shows English in the other.
    if (skinIndex) {
        m_settings.skinindex = *skinIndex;
        m_settings.language = SelectLanguage(uilib::GetAppPath(), *skinIndex, languageBefore);
    }
    auto next = std::make_unique<uilib::CPaintManagerUI>();
    next->Init(window);
    if (!m_host.BuildMainLayout(*next)) {
        m_settings.skinindex = skinBefore;
        m_settings.language = SelectLanguage(uilib::GetAppPath(), skinBefore, languageBefore);
        SetWindowPos(window, nullptr, before.left, before.top, before.right - before.left,
                     before.bottom - before.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    const bool playing = m_playback.IsEngineRunning() && !m_playlist.Empty();
    const bool pinned = m_display.State().fullScreen || IsZoomed(window);

    // What the user sees that the new layout does not know.
    std::vector<std::pair<const ReopenedWindow*, int>> reopen;
    for (const ReopenedWindow& row : kReopened) {
        if (int state = row.openState(m_dialogs)) reopen.emplace_back(&row, state);
    }
    const std::vector<CarriedControl> carried = CaptureControls(*old);
    const DWORD colour = old->GetMainBKColor();

    // Nothing may keep a pointer into the old layout: dialogs, menus, buttons, the video.
    m_dialogs.CloseAll();
    CMenuWnd::CloseOpenPopupMenu();
    CMenuUI::ForgetAll();
    CMenuUI::ResetMenuBarMode();
    CMediaWnd* video = m_view.DetachVideoWindow();
    m_host.ForgetLayoutControls();

    m_dialogs.AdoptResources(*old, *next);
    m_host.SwapPaintManager(std::move(next)).reset();

    if (skinIndex) m_settings.background = BackgroundOfSkin(*skinIndex);
    m_host.BindMainLayout();
    uilib::CPaintManagerUI* pm = m_host.CurrentPaintManager();
    if (colour != 0) pm->SetColor(colour);
    m_host.ApplyBackground();
    ApplyControls(*pm, carried);
    m_display.TakeNewLayout();

    pm->UpdateLayout();  // the least size is known once the carried state is laid out
    // The window manager holds the old layout's size limits until told the new ones.
    platform::GetBackend().UpdateSizeLimits(window);
    const RECT placed =
        RebuiltWindowRect(before, pm->GetInitSize(), pm->GetLeastWindowSize(), playing, pinned);
    SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_host.PrepareWindowExtras();
    pm->UpdateLayout();
    // A layout without a video area cannot take the window: the engine stops before it goes.
    if (video && !m_view.HasVideoArea()) m_playback.StopEngine();
    m_view.AttachVideoWindow(video);
    for (const auto& [row, state] : reopen) row->reopen(m_dialogs, m_host, state);
}

}  // namespace orvella
