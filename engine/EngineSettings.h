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
    std::string subtitleencode = "UTF-16";
    int subtitlefuzziness = 0;
    int audiomode = 0;
    std::string snappath;  // screenshot folder: the engine's working folder once it exists
};

}  // namespace orvella
