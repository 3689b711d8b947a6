// Told before each profile of a transfer of all five profiles, so that a
// front end can show how far the transfer has come and stay responsive.
// The default does nothing.
#pragma once

namespace settings {

class TransferProgress {
public:
    enum class Direction { Reading, Writing };

    virtual ~TransferProgress() = default;
    // `index` is the profile (0..4) about to be transferred, the `step`-th
    // (1..total) of `total`.
    virtual void BeforeProfile(Direction direction, int index, int step, int total);
};

}  // namespace settings
