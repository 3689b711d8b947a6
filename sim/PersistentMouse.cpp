#include "sim/PersistentMouse.h"

#include "sim/ReportLogText.h"

namespace sim {

PersistentMouse::PersistentMouse(std::string statePath, std::string logPath)
    : statePath_(std::move(statePath)), logPath_(std::move(logPath))
{
}

StateFileResult PersistentMouse::Load()
{
    if (!HasFile())
        return StateFileResult::FreshMouse;
    const StateFileResult result = SimStateFile(statePath_).Load(mouse_);
    fileUsable_ = result == StateFileResult::Loaded || result == StateFileResult::FreshMouse;
    return result;
}

StateFileResult PersistentMouse::Save()
{
    if (!logPath_.empty())
        AppendReportLog(logPath_, mouse_.Log(), 0);
    // A long-lived process keeps no growing log in memory.
    mouse_.ClearLog();
    if (!HasFile())
        return StateFileResult::Saved;
    if (!fileUsable_)
        return StateFileResult::IoError;
    return SimStateFile(statePath_).Save(mouse_);
}

}  // namespace sim
