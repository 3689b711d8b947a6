// What the main window sets up before it is first shown: the language's
// default font and the language combo with the language chosen. The program
// and the screenshot tool both use it.
#pragma once

#include "ui/WindowUIManager.h"

namespace NeritApp {

class MainFrameSetup {
public:
    static constexpr int kLanguageFont = 4;  // the language combo's item font

    // Languages outside 0..3 set up English.
    static void ApplyLanguage(SkinUI::CWindowUIManager& manager, int language);
};

}  // namespace NeritApp
