#include "platform/FakeUrlOpener.h"

#include "platform/XdgUrlOpener.h"

namespace platform {

UrlOpenResult FakeUrlOpener::Open(const std::string& address)
{
    opened_.push_back(XdgUrlOpener::Trimmed(address));
    return result_;
}

}  // namespace platform
