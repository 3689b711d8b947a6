#include "app/PopupResult.h"

#include "settings/ButtonFunctions.h"
#include "settings/KeyNameTable.h"

namespace NeritApp {

bool PopupResult::HasKey() const
{
    return keyIndex < settings::KeyNames().size() && settings::KeyNames()[keyIndex].virtualKey == virtualKey;
}

int32_t PopupResult::SingleKey() const
{
    return settings::SingleKeyParam(static_cast<uint8_t>(virtualKey), static_cast<uint8_t>(modifiers));
}

PopupResult& PopupResult::Current()
{
    static PopupResult result;
    return result;
}

}  // namespace NeritApp
