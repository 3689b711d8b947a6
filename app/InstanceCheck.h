// Only one program runs per user: a later start asks the running one to
// come to the front and ends.
#pragma once

#include "platform/single_instance.h"
#include "platform/window_system.h"

#include <memory>
#include <string>
#include <string_view>

namespace NeritApp {

class InstanceCheck {
public:
    enum class Outcome {
        Run,       // this is the one; `guard` is set
        Leave,     // another one runs: end quietly (exit 0)
        Failed,    // the check itself cannot be made
    };
    static constexpr std::string_view kName = "NeritMice";
    static constexpr std::string_view kAlreadyOpen =
        "AP have been opened, please load it from the right-bottom corner ! ";

    // The lock lives in $XDG_RUNTIME_DIR, else in `fallbackFolder`. When the
    // running one does not answer, a notice tells the user where it is.
    static Outcome Start(platform::SingleInstance& instances, platform::WindowSystem& system,
                         const std::string& fallbackFolder, std::unique_ptr<platform::InstanceGuard>& guard);
};

}  // namespace NeritApp
