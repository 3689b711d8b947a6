// Records the addresses it is asked to open (trimmed, as the real one passes
// them on) and answers with a result the test chooses.
#pragma once

#include "platform/url_opener.h"

#include <string>
#include <vector>

namespace platform {

class FakeUrlOpener final : public UrlOpener {
public:
    UrlOpenResult Open(const std::string& address) override;

    void SetResult(UrlOpenResult result) { result_ = result; }
    const std::vector<std::string>& Opened() const { return opened_; }

private:
    UrlOpenResult result_ = UrlOpenResult::Started;
    std::vector<std::string> opened_;
};

}  // namespace platform
