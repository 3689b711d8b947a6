// A fresh folder of its own for one test (mkdtemp), removed with everything
// in it when the test ends, so that tests running at once never meet.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace testsupport {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "neritmice-test")
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr)
            path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Empty when the folder could not be made.
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace testsupport
