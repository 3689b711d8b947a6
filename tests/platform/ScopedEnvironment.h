// Sets an environment variable for the life of the object and puts the old
// value back afterwards.
#pragma once

#include <stdlib.h>

#include <optional>
#include <string>

namespace testsupport {

class ScopedEnvironment {
public:
    ScopedEnvironment(std::string name, const std::string& value) : name_(std::move(name))
    {
        if (const char* old = ::getenv(name_.c_str()))
            old_ = old;
        ::setenv(name_.c_str(), value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (old_)
            ::setenv(name_.c_str(), old_->c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    // PATH with `folder` searched first.
    static std::string PathWithFirst(const std::string& folder)
    {
        const char* path = ::getenv("PATH");
        return folder + ":" + (path != nullptr ? path : "/usr/bin:/bin");
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace testsupport
