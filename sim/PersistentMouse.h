// A simulated mouse whose state lives in a file between processes (the
// --simulate=FILE and VIMO_SIMULATE switch), with an optional text log of its
// traffic (VIMO_SIMULATE_LOG). Without a file it is a fresh mouse in memory.
#pragma once

#include "sim/SimHidBackend.h"
#include "sim/SimStateFile.h"
#include "sim/SimulatedMouse.h"

#include <string>

namespace sim {

class PersistentMouse {
public:
    // statePath may be empty (no file); logPath may be empty (no log).
    PersistentMouse(std::string statePath, std::string logPath);

    // Takes the mouse's state from the file. A file that exists but cannot
    // be used is never written over; the result tells why.
    StateFileResult Load();
    // Writes the state back (when the file is usable), appends the reports
    // exchanged since the last call to the log file and forgets them.
    StateFileResult Save();

    SimulatedMouse& Mouse() { return mouse_; }
    platform::HidBackend& Backend() { return backend_; }
    bool HasFile() const { return !statePath_.empty(); }

private:
    std::string statePath_;
    std::string logPath_;
    SimulatedMouse mouse_;
    SimHidBackend backend_{mouse_};
    bool fileUsable_ = true;
};

}  // namespace sim
