#include "platform/XdgUrlOpener.h"

#include "platform/ChildProcess.h"

namespace platform {
namespace {

constexpr const char* kBlanks = " \t\r\n\v\f";

}  // namespace

std::string XdgUrlOpener::Trimmed(const std::string& address)
{
    const size_t first = address.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    const size_t last = address.find_last_not_of(kBlanks);
    return address.substr(first, last - first + 1);
}

UrlOpenResult XdgUrlOpener::Open(const std::string& address)
{
    const std::string trimmed = Trimmed(address);
    // An address starting with '-' would be taken for an option.
    if (trimmed.empty() || trimmed.front() == '-')
        return UrlOpenResult::Failed;
    ChildProcess child;
    switch (child.Start({program_, trimmed}, false)) {
    case ChildProcess::StartResult::NotFound:
        return UrlOpenResult::NoOpener;
    case ChildProcess::StartResult::Failed:
        return UrlOpenResult::Failed;
    case ChildProcess::StartResult::Started:
        break;
    }
    // Unwatched, the process is still collected: now if it has ended, else
    // by the system once we are gone. It has started either way.
    reaper_.Add(child.Pid());
    return UrlOpenResult::Started;
}

}  // namespace platform
