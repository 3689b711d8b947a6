#include "platform/paths.h"

#include <cstdlib>
#include <vector>

#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

// readlink does not say whether it truncated, so the buffer grows until the
// link fits with room to spare.
std::string ReadLink(const char* link)
{
    for (size_t size = 256; size <= 64 * 1024; size *= 2) {
        std::vector<char> buffer(size);
        const ssize_t length = ::readlink(link, buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
    }
    return {};
}

std::string FolderOf(const std::string& file)
{
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : file.substr(0, slash);
}

std::string PasswordHome()
{
    std::vector<char> buffer(16 * 1024);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr)
        return {};
    return found->pw_dir;
}

class LinuxPaths final : public Paths {
public:
    std::string ExecutableDirectory() override
    {
        const std::string exe = ReadLink("/proc/self/exe");
        return exe.empty() || exe[0] != '/' ? std::string() : FolderOf(exe);
    }

    std::string HomeDirectory() override
    {
        const char* home = std::getenv("HOME");
        if (home != nullptr && home[0] != '\0')
            return home;
        return PasswordHome();
    }

    std::string XdgDataHome() override { return XdgDataHomeFrom(std::getenv("XDG_DATA_HOME"), HomeDirectory()); }
};

}  // namespace

std::string XdgDataHomeFrom(const char* variable, const std::string& home)
{
    // A relative value is invalid under the XDG rules and is ignored.
    if (variable != nullptr && variable[0] == '/')
        return variable;
    if (home.empty())
        return {};
    return (home.back() == '/' ? home : home + "/") + ".local/share";
}

Paths& ProcessPaths()
{
    static LinuxPaths paths;
    return paths;
}

}  // namespace platform
