#include "settings/ProfileSet.h"

namespace settings {
namespace {

constexpr int kProfiles = 5;

bool ValidIndex(int index)
{
    return index >= 0 && index < kProfiles;
}

}  // namespace

ProfileSet ProfileSet::All()
{
    ProfileSet set;
    for (int p = 0; p < kProfiles; ++p)
        set.Add(p);
    return set;
}

ProfileSet ProfileSet::Of(int index)
{
    ProfileSet set;
    set.Add(index);
    return set;
}

void ProfileSet::Add(int index)
{
    if (ValidIndex(index))
        bits_ = static_cast<uint8_t>(bits_ | (1u << index));
}

bool ProfileSet::Contains(int index) const
{
    return ValidIndex(index) && (bits_ >> index & 1u) != 0;
}

int ProfileSet::Count() const
{
    return static_cast<int>(Numbers().size());
}

std::vector<int> ProfileSet::Numbers() const
{
    std::vector<int> numbers;
    for (int p = 0; p < kProfiles; ++p) {
        if (Contains(p))
            numbers.push_back(p + 1);
    }
    return numbers;
}

}  // namespace settings
