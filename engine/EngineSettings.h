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
    int playerchannels = 0;  // the settings window's layouts: 0 stereo, 1 4.0, 2 5.1
    // A layout only the audio menu offers, in place of playerchannels: 3 mono, 4 two front
    // two rear, 5 three front two rear, 6 6.1, 7 7.1, 8 S/PDIF; 0 none.
    int speakerlayout = 0;
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
    std::string snappath;  // screenshot folder: the engine's working folder once it exists
};

// The speaker layout the engine is started with (a code of either setting above).
inline int SpeakerLayout(const EngineSettings& s) {
    return s.speakerlayout >= 3 && s.speakerlayout <= 8 ? s.speakerlayout : s.playerchannels;
}

// Chooses a layout from either place: one of the settings window's three replaces any
// menu-only layout; any other code outside 0-8 changes nothing.
inline void ChooseSpeakerLayout(EngineSettings& s, int layout) {
    if (layout >= 0 && layout <= 2) {
        s.playerchannels = layout;
        s.speakerlayout = 0;
    } else if (layout >= 3 && layout <= 8) {
        s.speakerlayout = layout;
    }
}

// The level the engine's on-screen display runs at: none while it is off.
inline int EffectiveOsdLevel(const EngineSettings& s) { return s.showOSD ? s.osdlevel : 0; }

}  // namespace orvella
