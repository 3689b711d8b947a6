#include "app/PopupState.h"

namespace NeritApp {

int& PopupState::Slot()
{
    static int open = 0;
    return open;
}

void PopupState::Opened()
{
    ++Slot();
}

void PopupState::Closed()
{
    if (Slot() > 0)
        --Slot();
}

int PopupState::Count()
{
    return Slot();
}

void PopupState::Reset()
{
    Slot() = 0;
}

}  // namespace NeritApp
