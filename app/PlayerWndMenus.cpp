// The main window's side of the menus: the snapshot they mark their items from, and the
// window steps their commands ask for.
#include "app/PlayerWnd.h"

#include <cstdio>

#include "app/PlayerMenuStates.h"
#include "app/WebPages.h"
#include "uilib/Base.h"
#include "uilib/PaintManager.h"

namespace orvella {

MenuState CPlayerWnd::CurrentMenuState() const {
    MenuStateSources sources;
    sources.backgroundColour = m_pm ? m_pm->GetMainBKColor() : 0;
    sources.rotation = m_playback.Rotation();
    sources.dvdNavigation = m_playback.IsDvdNavigation();
    sources.keepPlayMemory = m_playlistControl.SavesPlaylistAtExit();
    sources.sortOrder = m_playlist.SortMode();
    // The engine's tables are copied under its lock; none while no engine runs.
    MediaTables tables;
    if (CCmdMplayer* engine = m_playback.Engine(); engine && m_playback.IsEngineRunning()) {
        tables = engine->GetTables();
        sources.engineTables = &tables;
    }
    return BuildMenuState(m_settings, m_display.State(), sources);
}

std::shared_ptr<const IMenuItemStates> CPlayerWnd::MenuItemStates() const {
    return std::make_shared<PlayerMenuStates>(CurrentMenuState());
}

void CPlayerWnd::ShowMainWindow() { ::ShowWindow(m_hWnd, SW_SHOW); }

void CPlayerWnd::OpenWebPage(WPARAM which) {
    const std::string address = WebPageAddress(static_cast<int>(which), m_playback.CurrentMediaPath(),
                                               std::string(uilib::GetAppPath()));
    if (address.empty()) return;
    if (!platform::GetBackend().ShellOpen(address))
        std::fprintf(stderr, "orvella: cannot open %s\n", address.c_str());
}

}  // namespace orvella
