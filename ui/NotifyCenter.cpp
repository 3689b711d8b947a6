#include "ui/NotifyCenter.h"

#include <algorithm>

namespace SkinUI {
namespace {

template <typename T>
void AddOnce(std::vector<T*>& list, T* item)
{
    if (item != nullptr && std::find(list.begin(), list.end(), item) == list.end())
        list.push_back(item);
}

template <typename T>
void RemoveFrom(std::vector<T*>& list, T* item)
{
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

void CNotifyCenter::AddNotifier(INotifyUI* notifier)
{
    AddOnce(notifiers_, notifier);
}

void CNotifyCenter::RemoveNotifier(INotifyUI* notifier)
{
    RemoveFrom(notifiers_, notifier);
}

void CNotifyCenter::AddMessageFilter(IMessageFilterUI* filter)
{
    AddOnce(filters_, filter);
}

void CNotifyCenter::RemoveMessageFilter(IMessageFilterUI* filter)
{
    RemoveFrom(filters_, filter);
}

void CNotifyCenter::AddPreMessageFilter(IMessageFilterUI* filter)
{
    AddOnce(preFilters_, filter);
}

void CNotifyCenter::RemovePreMessageFilter(IMessageFilterUI* filter)
{
    RemoveFrom(preFilters_, filter);
}

void CNotifyCenter::Send(NotifyMessage message, bool async, const SenderDelegates& delegates)
{
    message.timestamp = clock_ ? clock_() : 0;
    message.mousePoint = mouse_;
    if (async) {
        queue_.push_back(std::move(message));
        return;
    }
    Deliver(message, delegates);
}

void CNotifyCenter::Deliver(NotifyMessage& message, const SenderDelegates& delegates)
{
    if (delegates)
        delegates(message);
    // A notifier may add or remove notifiers; walk a copy.
    const std::vector<INotifyUI*> notifiers = notifiers_;
    for (INotifyUI* notifier : notifiers) {
        if (std::find(notifiers_.begin(), notifiers_.end(), notifier) != notifiers_.end())
            notifier->Notify(message);
    }
}

void CNotifyCenter::DeliverQueued(const std::function<SenderDelegates(CControlUI*)>& delegatesOf)
{
    while (!queue_.empty()) {
        NotifyMessage message = std::move(queue_.front());
        queue_.pop_front();
        Deliver(message, message.sender != nullptr && delegatesOf ? delegatesOf(message.sender) : SenderDelegates());
    }
}

bool CNotifyCenter::RunFilters(const std::vector<IMessageFilterUI*>& filters, unsigned message, uintptr_t wParam,
                               intptr_t lParam, intptr_t& result)
{
    // A filter may add or remove filters (itself included); walk a copy and
    // skip those removed meanwhile, which may be gone.
    const std::vector<IMessageFilterUI*> copy = filters;
    for (IMessageFilterUI* filter : copy) {
        if (std::find(filters.begin(), filters.end(), filter) == filters.end())
            continue;
        if (filter->MessageFilter(message, wParam, lParam, result))
            return true;
    }
    return false;
}

bool CNotifyCenter::Filter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    return RunFilters(filters_, message, wParam, lParam, result);
}

bool CNotifyCenter::PreFilter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result)
{
    return RunFilters(preFilters_, message, wParam, lParam, result);
}

void CNotifyCenter::ForgetSender(const CControlUI* control)
{
    for (NotifyMessage& message : queue_) {
        if (message.sender == control)
            message.sender = nullptr;
    }
}

}  // namespace SkinUI
