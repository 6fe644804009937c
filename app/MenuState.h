// The snapshot of the player that the menus read their check marks and enabled states
// from, taken when a top-level menu opens and copied into its submenus, and the marks it
// gives the menu items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/MediaInfo.h"
#include "platform/Platform.h"

namespace orvella {

class PlayerSettings;
struct DisplayState;

struct MenuState {
    uint32_t backgroundColour = 0;  // ARGB, the main window's background
    float sizeFactor = 0.0f;  // the factor the window holds the video at; 0 none
    bool dvdNavigation = false;
    bool keepPlayMemory = true;
    bool fullScreen = false;
    bool topmost = false;
    int rotation = -1;     // -1 none, 0-4
    int aspectChoice = 0;  // 0 the video's own, 1-10
    int playSequence = 1;  // 0 single, 1 sequence, 2 random, 3 single loop, 4 sequence loop
    int currentTitle = 0;
    int audioMode = 0;       // "audiomode"
    int playerChannels = 0;  // the speaker layout, 0-8 (SpeakerLayout)
    int osdLevel = 0;        // 0-3
    int videoOutput = 5;     // "videoformat"
    int deinterlace = 0;     // "deinterleave"
    MediaTables tables;      // tracks, titles and chapters while the engine runs
    std::string language;
    int skinIndex = 1;
    std::string programFolder;  // the language folders are under it
    int sortOrder = -1;  // 0 by name, 1 by type, -1 in no sorted order
    bool muted = false;
    bool playlistShown = false;  // the play list beside the video
};

// What the snapshot is taken from, beyond the settings and the display modes.
struct MenuStateSources {
    uint32_t backgroundColour = 0;
    int rotation = -1;
    bool dvdNavigation = false;
    bool keepPlayMemory = true;
    int sortOrder = -1;
    bool muted = false;
    bool playlistShown = false;
    SIZE windowSize{};  // the main window's outer size now
    const MediaTables* engineTables = nullptr;  // null while no engine runs
    int defaultTitle = 0;                       // the title shown while no engine runs
    std::string programFolder;
};

MenuState BuildMenuState(const PlayerSettings& settings, const DisplayState& display,
                         const MenuStateSources& sources);

// The size factor the window still holds the video at, or 0 when its size has changed
// since it was last fitted (or it never was).
float HeldSizeFactor(const DisplayState& display, SIZE windowNow);

// One item whose mark follows the snapshot.
struct MenuMark {
    const char* item;
    bool marked;
};

// Every marked-or-not item of the submenus and drop-down menus, in table order.
std::vector<MenuMark> MenuMarks(const MenuState& state);

// Whether the snapshot marks this item; false for an item no mark follows.
bool IsMenuItemMarked(const MenuState& state, const std::string& item);

}  // namespace orvella
