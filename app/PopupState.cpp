#include "app/PopupState.h"

#include <algorithm>

namespace NeritApp {

std::vector<platform::WindowId>& PopupState::Open()
{
    static std::vector<platform::WindowId> open;
    return open;
}

void PopupState::Opened(platform::WindowId popup)
{
    Open().push_back(popup);
}

void PopupState::Closed(platform::WindowId popup)
{
    const auto found = std::find(Open().begin(), Open().end(), popup);
    if (found != Open().end())
        Open().erase(found);
}

}  // namespace NeritApp
