#include "platform/DesktopPointerSettings.h"

#include "platform/FilePointerSettings.h"
#include "platform/GSettingsPointerSettings.h"

namespace platform {

std::unique_ptr<PointerSettings> CreateDesktopPointerSettings(const std::string& fallbackFile)
{
    if (GSettingsPointerSettings::MouseSchemaInstalled())
        return std::make_unique<GSettingsPointerSettings>(fallbackFile);
    return std::make_unique<FilePointerSettings>(fallbackFile);
}

}  // namespace platform
