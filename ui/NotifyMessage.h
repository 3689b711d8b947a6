// Notifications: what controls tell the window that owns them, and the
// interfaces of those who listen (notifiers) or look at native messages
// first (message filters).
#pragma once

#include "ui/AttributeValues.h"

#include <cstdint>
#include <string>

namespace SkinUI {

class CControlUI;

struct NotifyMessage {
    std::u16string type;           // "click", "selectchanged", "windowinit", ...
    CControlUI* sender = nullptr;  // null when it was destroyed while queued
    uint64_t timestamp = 0;        // milliseconds
    UIPoint mousePoint;            // the last mouse position, client coordinates
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(NotifyMessage& message) = 0;
};

class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    // True when the message was handled; `result` is then its answer.
    virtual bool MessageFilter(unsigned message, uintptr_t wParam, intptr_t lParam, intptr_t& result) = 0;
};

}  // namespace SkinUI
