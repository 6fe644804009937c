// The events the engine controller posts to the main window as WM_ENGINE_EVENT
// (wParam: the code, lParam: the payload), and the two ends of their payloads.
//
// Payloads come in four kinds (PayloadOf): none (lParam 0), a value carried in lParam
// itself, and a number or a text that travels as a small heap copy in lParam. A heap
// copy belongs to a process-wide table until the receiver takes it, so that nothing
// is lost when the message never arrives:
//   - the window is already gone when posting: PostEngineEvent frees it at once;
//   - the window goes while the message waits in the queue (the queue drops it):
//     the receiver calls DiscardEngineEvents(hwnd) in its WM_DESTROY handler;
//   - anything still left is freed when the program ends.
//
// Receiver side, in the window procedure:
//     case WM_ENGINE_EVENT: {
//         EngineEvent event;
//         if (TakeEngineEvent(wParam, lParam, &event)) ...use event...
//     }
//     case WM_DESTROY: DiscardEngineEvents(hwnd); ...
#pragma once

#include <cstddef>
#include <string>

#include "platform/Platform.h"

namespace orvella {

constexpr UINT WM_ENGINE_EVENT = WM_USER + 126;

enum EngineEventCode : WPARAM {
    EV_EXIT = 0,
    EV_OPEN_FAILED = 1,
    EV_VIDEO_WIDTH = 2,
    EV_VIDEO_HEIGHT = 3,
    EV_VIDEO_ASPECT = 4,
    EV_LENGTH = 5,
    EV_TIME_POSITION = 6,
    EV_DVD_MENU = 7,
    EV_DVD_MOVIE = 8,
    EV_DEMUXER = 9,
    EV_VIDEO_CODEC = 10,
    EV_VIDEO_BITRATE = 11,
    EV_VIDEO_FPS = 12,
    EV_AUDIO_CODEC = 13,
    EV_AUDIO_BITRATE = 14,
    EV_AUDIO_RATE = 15,
    EV_AUDIO_CHANNELS = 16,
    EV_AUDIO_ONLY = 17,
    EV_FILE_SUB_ID = 18,
    EV_BLURAY_TITLE_LENGTH = 19,
    EV_SCREENSHOT = 20,
    EV_VIDEO_OUTPUT_SIZE = 21,
    // Ours: "Starting playback...", at the start and at every restart of a loop (the
    // engine then takes back the volume and mute it was launched with).
    EV_PLAYBACK_STARTED = 22,
    // Ours: the engine ended without its exit line (killed, crashed, hung); the text says why.
    EV_ENGINE_GONE = 23,
};
constexpr WPARAM EV_LAST = EV_ENGINE_GONE;  // codes above are ignored by the receiver

enum class EnginePayload {
    None,     // lParam 0
    Value,    // an integer in lParam itself
    Integer,  // heap copy of an integer
    Float,    // heap copy of a float
    Text,     // heap copy of a text
};
EnginePayload PayloadOf(WPARAM code);  // None for codes above EV_LAST
const char* EngineEventName(WPARAM code);  // "EV_VIDEO_WIDTH"; "EV_?" when unknown

// One event with its payload; only the field of the code's payload kind is meaningful.
struct EngineEvent {
    WPARAM code = EV_EXIT;
    int number = 0;     // Value and Integer
    float real = 0.0f;  // Float
    std::string text;   // Text

    static EngineEvent Plain(WPARAM code);
    static EngineEvent Number(WPARAM code, int number);
    static EngineEvent Real(WPARAM code, float real);
    static EngineEvent Text(WPARAM code, std::string text);

    bool operator==(const EngineEvent& other) const;
    bool operator!=(const EngineEvent& other) const { return !(*this == other); }
};
std::string DescribeEngineEvent(const EngineEvent& event);  // "EV_LENGTH 5.00", for test output

// Posts the event to window from any thread. False, with nothing left behind, when
// the window is gone or the code is unknown.
bool PostEngineEvent(HWND window, const EngineEvent& event);

// The receiver's half: fills *out from the message and frees its heap copy. False when
// there is nothing to act on: a code above EV_LAST, or a heap payload that is not (or
// no longer) known, e.g. a hand-made message.
bool TakeEngineEvent(WPARAM wParam, LPARAM lParam, EngineEvent* out);

// Frees the heap copies posted to window that it has not taken; call from the window's
// WM_DESTROY. Returns how many were freed.
size_t DiscardEngineEvents(HWND window);

// Heap copies posted and not yet taken or discarded (for tests and leak checks).
size_t OutstandingEnginePayloads();

}  // namespace orvella
