#include "platform/XdgUrlOpener.h"

#include "platform/ChildProcess.h"

#include <memory>
#include <system_error>
#include <thread>

namespace platform {
namespace {

constexpr const char* kBlanks = " \t\r\n\v\f";

// Collects the process when it ends, on a thread that shares it.
bool ReapLater(const std::shared_ptr<ChildProcess>& child)
{
    try {
        std::thread([process = child] {
            int ignored;
            process->Reap(true, ignored);
        }).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

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
    auto child = std::make_shared<ChildProcess>();
    switch (child->Start({program_, trimmed}, false)) {
    case ChildProcess::StartResult::NotFound:
        return UrlOpenResult::NoOpener;
    case ChildProcess::StartResult::Failed:
        return UrlOpenResult::Failed;
    case ChildProcess::StartResult::Started:
        break;
    }
    // Without a waiting thread the process is still collected: non-blocking
    // now, else by init when we exit. It has started either way.
    if (!ReapLater(child)) {
        int ignored;
        child->Reap(false, ignored);
    }
    return UrlOpenResult::Started;
}

}  // namespace platform
