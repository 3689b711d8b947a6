#include "platform/DesktopPointerSettings.h"

#include "platform/FilePointerSettings.h"
#include "platform/GSettingsPointerSettings.h"

namespace platform {

std::unique_ptr<PointerSettings> CreateDesktopPointerSettings(const std::string& fallbackFile, FileSystem& files)
{
    if (GSettingsPointerSettings::MouseSchemaInstalled())
        return std::make_unique<GSettingsPointerSettings>(fallbackFile, GSettingsPointerSettings::Store::Desktop, files);
    return std::make_unique<FilePointerSettings>(fallbackFile, files);
}

}  // namespace platform
