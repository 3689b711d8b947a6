// SIGTERM and SIGINT end the program as the desktop's close does, but without
// a question: a transfer with the mouse under way is finished first (a
// further signal meanwhile is said once), then the program ends.
#pragma once

#include <functional>

namespace NeritApp {

class StopSignalWatch {
public:
    // What the watch needs of the main window.
    class Host {
    public:
        virtual ~Host() = default;
        virtual bool DeviceBusyNow() const = 0;
        // Ends the program for the signal `number`.
        virtual void EndForSignal(int number) = 0;
    };

    // `waiting` is called once, when a further signal comes while a
    // transfer is being finished.
    StopSignalWatch(Host& host, std::function<void()> waiting) : host_(host), waiting_(std::move(waiting)) {}

    // Takes the signals that came since the last look; ends the program
    // once no transfer is under way.
    void Check();
    // The signal that ends the program; 0 for none.
    int Signal() const { return signal_; }

private:
    Host& host_;
    std::function<void()> waiting_;
    int signal_ = 0;
    bool told_ = false;
    bool ended_ = false;
};

}  // namespace NeritApp
