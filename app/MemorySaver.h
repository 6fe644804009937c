// Keeps the play memory on disk while the player runs, so that a crash, a kill or a power
// loss costs at most some seconds of position. Once a second it looks at what plays and
// saves the whole settings file (the play memory is a part of it):
// - at once when another entry became current, or playback paused or stopped;
// - otherwise when something the file holds moved on (the position, the list), at most
//   every 10 s.
// A save takes a snapshot on the UI thread (copies; the entries only when the list
// changed) and writes it on the writer's thread. The last save, at exit, waits for a
// running write and goes through the same writer: one writer of the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "library/SettingsWriter.h"
#include "platform/Platform.h"

namespace orvella {

class HotkeyBindings;
class PlaybackControl;
class PlayerSettings;
class PlayerView;
class Playlist;
class PlaylistControl;

constexpr UINT_PTR TIMER_SAVE_MEMORY = 105;

// What the once-a-second look found.
enum class SaveEvent { Tick, EntryChanged, Paused, Stopped };

// Whether to save now. lastSaveMs and nowMs: the same monotonic clock; changed: whether the
// position moved or the list changed since the last save.
bool ShouldSaveNow(SaveEvent event, uint64_t lastSaveMs, uint64_t nowMs, bool changed);

class MemorySaver {
public:
    // schemeColour: the colour the window shows now (the file keeps it).
    MemorySaver(PlayerView& view, PlayerSettings& settings, const HotkeyBindings& hotkeys,
                PlaybackControl& playback, const Playlist& playlist, PlaylistControl& commands,
                const std::string& dataFolder, std::function<uint32_t()> schemeColour);

    // Once the settings file was read: what it holds counts as saved, and the looks begin.
    void Start();
    // True when the timer was the saver's.
    bool OnTimer(UINT_PTR id);
    // After anything the window handled: the looks start again when something plays or
    // waits to be saved. While nothing does they stop, so an idle player never wakes.
    void Wake();
    // The last save, once: waits for a running write, then writes the state as it is now.
    // Nothing is saved afterwards. False when nothing could be written.
    bool SaveFinal();

    SettingsWriter& Writer() { return m_writer; }

private:
    // What the looks compare: the entry that plays and how.
    struct Look {
        std::string entry;
        bool paused = false;
        bool running = false;
    };
    // What a save holds that moves on between saves.
    struct Mark {
        uint64_t revision = 0;
        size_t current = 0;
        int64_t starttime = 0;
        bool operator==(const Mark& other) const {
            return revision == other.revision && current == other.current && starttime == other.starttime;
        }
        bool operator!=(const Mark& other) const { return !(*this == other); }
    };

    void LookAndSave();
    Look LookNow() const;
    Mark MarkNow() const;
    SettingsSnapshot TakeSnapshot();

    PlayerView& m_view;
    PlayerSettings& m_settings;
    const HotkeyBindings& m_hotkeys;
    PlaybackControl& m_playback;
    const Playlist& m_playlist;
    PlaylistControl& m_commands;
    const std::string& m_dataFolder;
    std::function<uint32_t()> m_schemeColour;

    Look m_seen;
    Mark m_saved;
    uint64_t m_lastSaveMs = 0;
    bool m_started = false;
    bool m_looking = false;  // the timer runs
    bool m_finished = false;
    SettingsWriter m_writer;
};

}  // namespace orvella
