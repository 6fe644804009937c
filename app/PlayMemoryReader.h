// Reads the play memory of the settings file on a worker, so that a long list never holds
// up the start of playback: the window is told by a posted message when it is read.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "library/PlayMemory.h"
#include "platform/Platform.h"

namespace orvella {

class PlayMemoryReader {
public:
    PlayMemoryReader() = default;
    PlayMemoryReader(const PlayMemoryReader&) = delete;
    PlayMemoryReader& operator=(const PlayMemoryReader&) = delete;
    ~PlayMemoryReader() { Wait(); }

    // Reads the "Media" element of the file's bytes; `message` goes to `window` once done.
    void Start(std::shared_ptr<const std::string> file, HWND window, UINT message);
    // Whether a read was started and not taken yet.
    bool Waiting() const { return m_thread.joinable(); }
    // Waits for the read (when one was started) and hands it over; false when none was
    // waiting. `damaged`: the file was damaged before the memory's end.
    bool Take(MediaRecord* record, bool* damaged);

private:
    void Wait() {
        if (m_thread.joinable()) m_thread.join();
    }

    std::thread m_thread;
    MediaRecord m_record;
    bool m_damaged = false;
};

}  // namespace orvella
