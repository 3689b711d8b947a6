// Small helpers the pages share to reach their controls by name; any control
// may be missing from a layout.
#pragma once

#include "ui/NotifyMessage.h"
#include "ui/OptionUI.h"
#include "ui/SliderUI.h"
#include "ui/WindowUIManager.h"

#include <string>
#include <string_view>

namespace NeritApp::PageControls {

template <typename Control>
Control* Find(SkinUI::CWindowUIManager& manager, std::u16string_view name)
{
    return dynamic_cast<Control*>(manager.FindControl(name));
}

inline std::u16string NumberText(int value)
{
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

inline bool SentBy(const SkinUI::NotifyMessage& message, std::u16string_view name)
{
    return message.sender != nullptr && message.sender->GetName() == name;
}

// The option that sent the message is now selected.
inline bool SelectedNow(const SkinUI::NotifyMessage& message)
{
    const auto* option = dynamic_cast<const SkinUI::COptionUI*>(message.sender);
    return option != nullptr && option->IsSelected();
}

// Selects or clears an option without telling anyone.
inline void ShowSelected(SkinUI::CWindowUIManager& manager, std::u16string_view name, bool selected)
{
    if (auto* option = Find<SkinUI::COptionUI>(manager, name))
        option->Selected(selected, false);
}

}  // namespace NeritApp::PageControls
