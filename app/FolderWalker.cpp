#include "app/FolderWalker.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/ScreenshotFiles.h"

namespace orvella {

namespace {

// Up to this long the window waits for a walk: a small folder then plays at once, as if
// nothing had been walked elsewhere.
constexpr auto kWaitForWalk = std::chrono::milliseconds(100);

}  // namespace

struct FolderWalker::Job {
    std::vector<std::string> paths;
    WalkedFolders found;  // written by the worker until done
    Finish finish;
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    std::thread worker;
};

FolderWalker::FolderWalker(std::function<HWND()> window, UINT message)
    : m_window(std::move(window)), m_message(message) {}

FolderWalker::~FolderWalker() {
    for (auto& entry : m_walks) entry.second->cancel = true;
    for (auto& entry : m_walks)
        if (entry.second->worker.joinable()) entry.second->worker.join();
}

void FolderWalker::Walk(const std::vector<std::string>& paths, Finish finish) {
    bool anyFolder = false;
    for (const std::string& path : paths) anyFolder = anyFolder || IsFolder(path);
    if (!anyFolder) {
        finish(WalkedFolders(paths.size()));
        return;
    }
    auto walk = std::make_shared<Job>();
    walk->paths = paths;
    walk->finish = std::move(finish);
    const WPARAM ticket = m_nextTicket++;
    m_walks[ticket] = walk;
    const HWND window = m_window();
    const UINT message = m_message;
    // The worker touches nothing but the file system and its own walk record.
    walk->worker = std::thread([walk, ticket, window, message, hook = m_beforeWalk] {
        if (hook) hook();
        WalkedFolders found;
        for (const std::string& path : walk->paths) {
            if (IsFolder(path)) {
                found.emplace_back(ExamineFolder(path, &walk->cancel));
            } else {
                found.emplace_back();
            }
        }
        {
            std::lock_guard<std::mutex> lock(walk->mutex);
            walk->found = std::move(found);
            walk->done = true;
        }
        walk->doneChanged.notify_all();
        platform::GetBackend().PostMessage(window, message, ticket, 0);
    });
    std::unique_lock<std::mutex> lock(walk->mutex);
    const bool done = walk->doneChanged.wait_for(lock, kWaitForWalk, [&] { return walk->done; });
    lock.unlock();
    // Late: the worker's message finishes it.
    if (done) FinishWalk(ticket);
}

void FolderWalker::OnWalked(WPARAM ticket) { FinishWalk(ticket); }

void FolderWalker::FinishWalk(WPARAM ticket) {
    auto it = m_walks.find(ticket);
    if (it == m_walks.end()) return;  // finished already, at once
    std::shared_ptr<Job> walk = it->second;
    m_walks.erase(it);
    // Posted only once done: the join is immediate.
    walk->worker.join();
    walk->finish(walk->found);
}

}  // namespace orvella
