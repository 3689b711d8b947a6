// An open handle on the file-kept simulated mouse: reports pass to the
// mouse's own handle while its PersistentMouse holds it (a handle left open
// after its sequence was released fails them), and closing the handle
// tells the PersistentMouse, which ends the sequence with the last one.
// The PersistentMouse must outlive its handles.
#pragma once

#include "platform/hid.h"

#include <memory>

namespace sim {

class PersistentMouse;

class PersistentHandle final : public platform::HidDevice {
public:
    PersistentHandle(PersistentMouse& owner, std::unique_ptr<platform::HidDevice> handle);
    ~PersistentHandle() override;
    PersistentHandle(const PersistentHandle&) = delete;
    PersistentHandle& operator=(const PersistentHandle&) = delete;

    bool SendFeatureReport(const uint8_t* data, size_t length) override;
    bool GetFeatureReport(uint8_t* data, size_t length) override;
    bool WriteOutputReport(const uint8_t* data, size_t length) override;
    int ReadInputReport(uint8_t* data, size_t length, int timeoutMs) override;
    bool SetInputQueueLength(unsigned count) override;
    // False when this was the sequence's last handle and the state file
    // could not be written.
    bool Close() override;

private:
    bool Usable() const;

    PersistentMouse& owner_;
    std::unique_ptr<platform::HidDevice> handle_;
};

}  // namespace sim
