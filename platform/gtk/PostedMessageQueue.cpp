#include "platform/gtk/PostedMessageQueue.h"

#include <glib.h>

namespace platform {
namespace gtk {

struct PostedMessageQueue::Source {
    GSource base;
    PostedMessageQueue* owner;
};

namespace {
GSourceFuncs g_sourceFuncs;
}

PostedMessageQueue::PostedMessageQueue(Dispatcher dispatch) : dispatch_(std::move(dispatch)) {
    g_sourceFuncs.prepare = reinterpret_cast<gboolean (*)(GSource*, gint*)>(&PostedMessageQueue::Prepare);
    g_sourceFuncs.check = reinterpret_cast<gboolean (*)(GSource*)>(&PostedMessageQueue::Check);
    g_sourceFuncs.dispatch =
        reinterpret_cast<gboolean (*)(GSource*, GSourceFunc, gpointer)>(&PostedMessageQueue::Dispatch);
    source_ = g_source_new(&g_sourceFuncs, sizeof(Source));
    reinterpret_cast<Source*>(source_)->owner = this;
    // Below GDK's event source (G_PRIORITY_DEFAULT), above redraw and idle work.
    g_source_set_priority(source_, G_PRIORITY_DEFAULT + 1);
    g_source_set_can_recurse(source_, TRUE);  // modal loops run inside handlers
    g_source_set_name(source_, "orvella posted messages");
    g_source_attach(source_, nullptr);
}

PostedMessageQueue::~PostedMessageQueue() {
    g_source_destroy(source_);
    g_source_unref(source_);
}

void PostedMessageQueue::Post(const PostedMessage& message) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(message);
    }
    g_main_context_wakeup(g_source_get_context(source_));
}

bool PostedMessageQueue::HasPending() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !queue_.empty();
}

void PostedMessageQueue::DispatchPending() {
    size_t count;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        count = queue_.size();
    }
    for (size_t i = 0; i < count; ++i) {
        PostedMessage message;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty()) return;  // a nested loop took them
            message = queue_.front();
            queue_.pop_front();
        }
        if (!dispatch_(message)) return;
    }
}

int PostedMessageQueue::Prepare(GSource* source, int* timeout) {
    *timeout = -1;
    return reinterpret_cast<Source*>(source)->owner->HasPending();
}

int PostedMessageQueue::Check(GSource* source) {
    return reinterpret_cast<Source*>(source)->owner->HasPending();
}

int PostedMessageQueue::Dispatch(GSource* source, int (*)(void*), void*) {
    reinterpret_cast<Source*>(source)->owner->DispatchPending();
    return G_SOURCE_CONTINUE;
}

}  // namespace gtk
}  // namespace platform

