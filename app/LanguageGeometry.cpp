#include "app/LanguageGeometry.h"

#include "ui/ControlUI.h"
#include "ui/WindowUIManager.h"

namespace NeritApp {

void ApplyLanguageGeometry(SkinUI::CWindowUIManager& manager, int language)
{
    for (const LanguageGeometry& entry : kLanguageGeometry) {
        SkinUI::CControlUI* control = manager.FindControl(entry.control);
        if (control == nullptr)
            continue;
        control->SetAttribute(entry.attribute, language == kGermanLanguage ? entry.german : entry.other);
        control->NeedUpdate();
    }
}

}  // namespace NeritApp
