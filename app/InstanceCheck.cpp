#include "app/InstanceCheck.h"

#include "app/NeritMainWnd.h"

namespace NeritApp {

InstanceCheck::Outcome InstanceCheck::Start(platform::SingleInstance& instances, platform::WindowSystem& system,
                                            const std::string& fallbackFolder,
                                            std::unique_ptr<platform::InstanceGuard>& guard)
{
    switch (instances.Start(platform::InstanceFolder(fallbackFolder), std::string(kName), guard)) {
    case platform::InstanceResult::Primary:
        return Outcome::Run;
    case platform::InstanceResult::RaisedOther:
        return Outcome::Leave;
    case platform::InstanceResult::NoAnswer:
        system.MessageBox(platform::WindowId::None, std::string(kAlreadyOpen),
                          std::string(CNeritMainWnd::kNoticeCaption), platform::MB_OK);
        return Outcome::Leave;
    case platform::InstanceResult::PathTooLong:
    case platform::InstanceResult::Error:
        break;
    }
    return Outcome::Failed;
}

}  // namespace NeritApp
