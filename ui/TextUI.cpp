#include "ui/TextUI.h"

namespace SkinUI {

CTextUI::CTextUI() : CLabelUI(TextStyle::Left | TextStyle::Top | TextStyle::WordBreak) {}

}  // namespace SkinUI
