#include "uilib/NotifyDispatcher.h"

#include <algorithm>

namespace uilib {

namespace {

template <typename T>
bool AddOnce(std::vector<T*>& list, T* item) {
    if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveFrom(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

template <typename T>
bool Contains(const std::vector<T*>& list, T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

bool CNotifyDispatcher::AddNotifier(INotifyUI* notifier) { return AddOnce(m_notifiers, notifier); }

bool CNotifyDispatcher::RemoveNotifier(INotifyUI* notifier) {
    return RemoveFrom(m_notifiers, notifier);
}

template <typename Tell>
void CNotifyDispatcher::TellEach(Tell tell) {
    // A notifier may remove itself (or another) while being told: walk a copy and skip
    // whoever is gone.
    std::vector<INotifyUI*> snapshot = m_notifiers;
    for (INotifyUI* n : snapshot)
        if (Contains(m_notifiers, n)) tell(n);
}

void CNotifyDispatcher::Deliver(TNotifyUI& msg) {
    TellEach([&msg](INotifyUI* n) { n->Notify(msg); });
}

void CNotifyDispatcher::DeliverFromWindow(TNotifyUI& msg) {
    TellEach([&msg](INotifyUI* n) { n->NotifyFromWindow(msg); });
}

void CNotifyDispatcher::DeliverQueued() {
    while (!m_queue.empty()) {
        TNotifyUI msg = m_queue.front();
        m_queue.pop_front();
        Deliver(msg);
    }
}

void CNotifyDispatcher::DropQueuedFrom(CControlUI* sender) {
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [sender](const TNotifyUI& m) { return m.pSender == sender; }),
                  m_queue.end());
}

bool CNotifyDispatcher::AddFilter(IMessageFilterUI* filter) { return AddOnce(m_filters, filter); }

bool CNotifyDispatcher::RemoveFilter(IMessageFilterUI* filter) {
    return RemoveFrom(m_filters, filter);
}

bool CNotifyDispatcher::Filter(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    std::vector<IMessageFilterUI*> snapshot = m_filters;
    for (IMessageFilterUI* f : snapshot) {
        if (!Contains(m_filters, f)) continue;
        bool handled = false;
        LRESULT lr = f->MessageHandler(msg, wParam, lParam, handled);
        if (handled) {
            result = lr;
            return true;
        }
    }
    return false;
}

}  // namespace uilib
