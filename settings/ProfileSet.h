// A set of the five profiles, kept as five bits (bit i for index i). Lists
// come out in ascending order of the profile numbers 1..5.
#pragma once

#include <cstdint>
#include <vector>

namespace settings {

class ProfileSet {
public:
    ProfileSet() = default;
    static ProfileSet All();
    static ProfileSet Of(int index);

    // Indexes outside 0..4 are ignored.
    void Add(int index);
    bool Contains(int index) const;
    bool Empty() const { return bits_ == 0; }
    int Count() const;
    uint8_t Bits() const { return bits_; }
    // The profile numbers (index + 1), ascending.
    std::vector<int> Numbers() const;

    bool operator==(const ProfileSet&) const = default;

private:
    uint8_t bits_ = 0;
};

}  // namespace settings
