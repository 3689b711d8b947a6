// The two user signals (SIGUSR1, SIGUSR2) sent to the program from outside,
// counted by a handler and taken from the program's one loop.
#pragma once

namespace platform {

class UserSignals {
public:
    struct Counts {
        unsigned first = 0;   // SIGUSR1
        unsigned second = 0;  // SIGUSR2
        int last = 0;         // 1 or 2: which came last; 0 for none
    };

    // Installs the handlers; false when the system refuses.
    static bool Watch();
    // How many of each arrived since the last call, and which came last.
    static Counts Take();
};

}  // namespace platform
