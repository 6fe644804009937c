// The one way onto the UI thread: any thread appends, a GLib source on the UI thread's
// main context drains in order. The source runs below GTK input so that a flood of
// posts cannot starve the pointer and keyboard.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/Platform.h"

typedef struct _GSource GSource;

namespace platform {
namespace gtk {

struct PostedMessage {
    HWND hwnd = nullptr;
    uint64_t serial = 0;  // the window's serial when posted, so a reused address is not hit
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class PostedMessageQueue {
public:
    // dispatch is called on the UI thread for each message in posting order. It answers
    // false to stop draining (WM_QUIT); the rest stays queued for the next loop.
    using Dispatcher = std::function<bool(const PostedMessage&)>;

    explicit PostedMessageQueue(Dispatcher dispatch);
    ~PostedMessageQueue();
    PostedMessageQueue(const PostedMessageQueue&) = delete;
    PostedMessageQueue& operator=(const PostedMessageQueue&) = delete;

    void Post(const PostedMessage& message);  // any thread; never blocks for long
    bool HasPending();
    // Drain what is queued now (not what the handlers post meanwhile). UI thread only.
    void DispatchPending();

private:
    struct Source;
    static int Prepare(GSource* source, int* timeout);
    static int Check(GSource* source);
    static int Dispatch(GSource* source, int (*callback)(void*), void* data);

    Dispatcher dispatch_;
    std::mutex mutex_;
    std::deque<PostedMessage> queue_;
    GSource* source_ = nullptr;
};

}  // namespace gtk
}  // namespace platform
