// Who hears a paint manager: the notifiers told of control and window notifications, the
// queue of notifications delivered later, and the filters offered each window message.
#pragma once

#include <deque>
#include <vector>

#include "uilib/PaintManager.h"

namespace uilib {

class CNotifyDispatcher {
public:
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    void Deliver(TNotifyUI& msg);            // INotifyUI::Notify
    void DeliverFromWindow(TNotifyUI& msg);  // INotifyUI::NotifyFromWindow

    void Queue(const TNotifyUI& msg) { m_queue.push_back(msg); }
    void DeliverQueued();  // in order, including any queued meanwhile
    size_t QueuedCount() const { return m_queue.size(); }
    void DropQueuedFrom(CControlUI* sender);

    bool AddFilter(IMessageFilterUI* filter);
    bool RemoveFilter(IMessageFilterUI* filter);
    // Offers msg to each filter in turn; true (with result) when one handled it.
    bool Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    template <typename Tell>
    void TellEach(Tell tell);

    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_filters;
    std::deque<TNotifyUI> m_queue;
};

}  // namespace uilib
