// The builder callback of the main window: makes the program's page
// containers from the element names of its layouts.
#pragma once

#include "ui/LayoutBuilder.h"

namespace NeritApp {

class CDialogBuilderCallbackEx : public SkinUI::IDialogBuilderCallback {
public:
    // A new page for one of the page element names (exact case), else
    // nullptr, also when the page cannot be allocated.
    std::unique_ptr<SkinUI::CControlUI> CreateControl(std::u16string_view className) override;
};

}  // namespace NeritApp
