// Small rules of the main window's start, kept pure so they can be tested directly.
#pragma once

#include <string>
#include <vector>

#include "engine/EngineEvents.h"  // WM_ENGINE_EVENT and its codes
#include "platform/Platform.h"

namespace orvella {

// The main window's private messages (numbers kept from the original message table).
constexpr UINT WM_TRAY_NOTIFY = 0x006D;
constexpr UINT WM_RELOAD_LAYOUT = 0x048C;
constexpr UINT WM_OPEN_WEB_PAGE = 0x048D;
constexpr UINT WM_SHOW_QUESTION = 0x048F;
constexpr UINT WM_PLAYLIST_FILE = 0x0490;
constexpr UINT WM_UPDATE_AVAILABLE = 0x04B4;
constexpr UINT WM_UPDATE_CURRENT = 0x04B5;
// Ours: the open popup menu closes once the notification it sent has returned.
constexpr UINT WM_CLOSE_POPUP_MENU = WM_USER + 128;
// Ours: the play memory read apart at the start is in.
constexpr UINT WM_PLAY_MEMORY_READ = WM_USER + 131;
constexpr WPARAM kLastEngineEvent = EV_LAST;
constexpr UINT_PTR TIMER_POSITION_POLL = 101;
// Once: what waits for the first picture starts even when none came.
constexpr UINT_PTR TIMER_DEFERRED_START = 106;
constexpr UINT kAppIconResource = 103;

constexpr const char* kProgramVersion = ORVELLA_VERSION;  // from the project version in CMakeLists.txt
constexpr const char* kProgramTitle = "Orvella";

struct ProgramVersion {
    int major = 0, minor = 0, build = 0;
};

// "1.2.3" → 1, 2, 3: the text before the first ".", between the first and second, and
// the rest, each read as a decimal integer (anything unreadable counts 0).
ProgramVersion ParseProgramVersion(const std::string& text);

// The language folder chosen from the locale variables (LC_ALL, then LC_MESSAGES, then
// LANG; the first one set and not empty wins): zh_CN → "chn", en → "eng", de → "de",
// ja → "jpn", anything else "eng".
std::string LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);
std::string DefaultLanguage();  // from this process's environment


// The data folder: $XDG_CONFIG_HOME/Orvella, or ~/.config/Orvella (no trailing slash).
std::string DataFolderPath(const char* xdgConfigHome, const char* home);
// The default screenshot folder: "Orvella" in the user's pictures folder.
std::string ScreenshotFolderPath(const std::string& picturesFolder);
// Creates the folder with its missing parents (new ones with the mode, less the umask);
// false when it could not be made.
bool MakeFolders(const std::string& path, unsigned mode = 0700);
// The process's working folder, whole however long; empty when it cannot be read.
std::string WorkingFolder();
// The part of a path after its last "/" (the whole path when it has none).
std::string NameOfPath(const std::string& path);
// A local play-list file (".orv", any letter case): the command line opens it as the play
// list it holds, never as media.
bool IsPlaylistFileName(const std::string& path);

// What the command line asks before any window opens: "--version" and "--help" as the only
// argument are answered and end the program; a leading "--" is dropped, so what follows
// is taken as files even when a name looks like an option. Anything else is files.
enum class CommandLineAsk { Run, Version, Help };
CommandLineAsk ReadCommandLine(std::vector<std::string>* args);
// The text printed for Version and Help.
std::string CommandLineAnswer(CommandLineAsk ask);

}  // namespace orvella
