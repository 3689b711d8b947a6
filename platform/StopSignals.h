// The requests to end the program sent from outside (SIGTERM, SIGINT),
// counted by a handler and taken from the program's one loop, so that the
// program can finish what it is doing before it ends.
#pragma once

namespace platform {

class StopSignals {
public:
    struct Counts {
        unsigned count = 0;  // how many arrived since the last Take
        int last = 0;        // the number of the one that came last; 0 for none
    };

    // Installs the handlers; false when the system refuses.
    static bool Watch();
    static Counts Take();
    // Ends the process as the signal `number` would have ended it without a
    // handler (its default action), so that the parent sees that signal.
    static void EndBy(int number);
};

}  // namespace platform
