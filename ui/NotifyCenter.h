// The notification side of a window manager: notifiers and message filters
// in registration order, the queue of asynchronous notifications (delivered
// first at every message), and forgetting a destroyed sender.
#pragma once

#include "ui/NotifyMessage.h"

#include <deque>
#include <functional>
#include <vector>

namespace SkinUI {

class CNotifyCenter {
public:
    // Milliseconds for timestamps; the window manager passes its clock.
    using Clock = std::function<uint64_t()>;
    // The control's own delegates, called before the notifiers.
    using SenderDelegates = std::function<void(NotifyMessage&)>;

    explicit CNotifyCenter(Clock clock) : clock_(std::move(clock)) {}

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    void AddMessageFilter(IMessageFilterUI* filter);
    void RemoveMessageFilter(IMessageFilterUI* filter);
    void AddPreMessageFilter(IMessageFilterUI* filter);
    void RemovePreMessageFilter(IMessageFilterUI* filter);

    void SetMousePoint(UIPoint point) { mouse_ = point; }
    UIPoint MousePoint() const { return mouse_; }

    // Stamps the message; queues it, or delivers it now: the sender's own
    // delegates first, then every notifier in registration order.
    void Send(NotifyMessage message, bool async, const SenderDelegates& delegates = {});
    // Delivers the queued notifications, oldest first.
    void DeliverQueued(const std::function<SenderDelegates(CControlUI*)>& delegatesOf);
    // The first filter that handles the message ends its handling.
    bool Filter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    bool PreFilter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
    // Queued messages from a destroyed control keep going without a sender.
    void ForgetSender(const CControlUI* control);

    size_t QueuedCount() const { return queue_.size(); }

private:
    void Deliver(NotifyMessage& message, const SenderDelegates& delegates);
    static bool RunFilters(const std::vector<IMessageFilterUI*>& filters, unsigned message, uintptr_t wParam,
                           intptr_t lParam, intptr_t& result);

    Clock clock_;
    std::vector<INotifyUI*> notifiers_;
    std::vector<IMessageFilterUI*> filters_;
    std::vector<IMessageFilterUI*> preFilters_;
    std::deque<NotifyMessage> queue_;
    UIPoint mouse_;
};

}  // namespace SkinUI
