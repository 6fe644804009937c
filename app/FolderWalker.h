// Walks dropped, chosen and mounted folders on a worker thread, so that a large folder or a
// slow disc never stops the main window from painting and answering. What a walk found is
// handed back on the window thread: at once when it took less than a moment, else through
// a message the worker posts.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "playlist/MediaFiles.h"

namespace orvella {

class FolderWalker {
public:
    using Finish = std::function<void(const WalkedFolders&)>;

    // hwnd hears `message` (wParam: the walk's ticket) when a walk finishes late.
    FolderWalker(std::function<HWND()> window, UINT message);
    ~FolderWalker();  // calls off and joins the walks still running
    FolderWalker(const FolderWalker&) = delete;
    FolderWalker& operator=(const FolderWalker&) = delete;

    // Walks the folders among paths; finish runs on the window thread with what they
    // hold. Without any folder nothing needs walking and finish runs at once.
    void Walk(const std::vector<std::string>& paths, Finish finish);
    // The message: the finish of the walk the ticket names, if it is still waiting.
    void OnWalked(WPARAM ticket);

    // Test seam: runs on the worker before each walk (a test holds the walk there).
    void SetBeforeWalkForTesting(std::function<void()> hook) { m_beforeWalk = std::move(hook); }

private:
    struct Job;
    void FinishWalk(WPARAM ticket);

    std::function<HWND()> m_window;
    UINT m_message;
    std::function<void()> m_beforeWalk;
    WPARAM m_nextTicket = 1;
    std::map<WPARAM, std::shared_ptr<Job>> m_walks;  // started, not yet finished
};

}  // namespace orvella
