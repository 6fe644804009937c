// The player's settings that a launch of the engine reads, named as their keys in
// "settings.xml". The settings store holds them (PlayerSettings derives from this) and
// a launch takes them by value (LaunchOptions), so no key is copied by hand.
#pragma once

#include <string>

namespace orvella {

struct EngineSettings {
    int videoformat = 5;
    bool usesoftwarevolume = true;
    int maxamplification = 100;
    int playerchannels = 0;
    bool mute = false;
    int volume = 50;
    bool savelocation = true;
    bool useshortname = false;  // no short names here: paths are always passed whole
    int playsequence = 1;
    int deinterleave = 0;
    int playerpriority = 2;
    int decodethread = 0;
    bool showOSD = false;
    int osdlevel = 3;  // how much the on-screen display shows while it is on (1-3); not stored
    std::string subtitleencode = "UTF-16";
    int subtitlefuzziness = 0;
    int audiomode = 0;
    std::string snappath;  // screenshot folder: the engine's working folder
};

// The level the engine's on-screen display runs at: none while it is off.
inline int EffectiveOsdLevel(const EngineSettings& s) { return s.showOSD ? s.osdlevel : 0; }

}  // namespace orvella
