// The mouse leaving and coming back while the program runs. The device
// monitor is polled on a timer of the main window; a removal after which the
// mouse cannot be opened makes it missing (the window says so once), an
// arrival while it is missing brings it back once it answers: its firmware
// is asked (up to 20 more times, 500 ms apart) and the profiles are read
// again.
#pragma once

#include "app/NeritMainState.h"
#include "platform/clock.h"
#include "platform/device_monitor.h"

#include <functional>
#include <vector>

namespace NeritApp {

class DevicePresence {
public:
    // Outside the ids the controls' own timers take.
    static constexpr unsigned kPollTimer = 258;
    static constexpr unsigned kPollIntervalMs = 200;
    static constexpr unsigned kFirmwareRetryMs = 500;
    static constexpr int kFirmwareRetries = 20;

    class Host {
    public:
        virtual ~Host() = default;
        // Opens and closes the mouse: true when both collections are there.
        virtual bool CheckDevicePresent() = 0;
        // Asks the mouse for its firmware version and shows it.
        virtual bool ReadFirmwareVersion() = 0;
        // The mouse is gone: a recording ends, the notice opens.
        virtual void MouseGone() = 0;
        // The mouse is back: the notices close, the profiles are read again.
        virtual void MouseBack() = 0;
        // Long work with the mouse, the window showing it is busy.
        virtual void RunDeviceWork(const std::function<void()>& work) = 0;
        // Whether such work is running now.
        virtual bool DeviceBusyNow() const = 0;
    };

    DevicePresence(Host& host, NeritMainState& state, platform::Clock& clock)
        : host_(host), state_(state), clock_(clock)
    {
    }
    // Starts listening to `monitor` (null: no hot-plug notices); the monitor
    // stops itself when it goes away. False when it cannot start.
    bool Use(platform::DeviceMonitor* monitor);
    // Takes the changes the monitor saw since the last poll; while work with
    // the mouse runs they wait (a change is acted on between transfers,
    // never inside one).
    void Poll();
    void OnDeviceChange(const platform::DeviceChange& change);

private:
    void OnRemoval();
    void OnArrival();
    bool WaitForFirmware();

    Host& host_;
    NeritMainState& state_;
    platform::Clock& clock_;
    platform::DeviceMonitor* monitor_ = nullptr;
    std::vector<platform::DeviceChange> changes_;
};

}  // namespace NeritApp
