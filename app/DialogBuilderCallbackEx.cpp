#include "app/DialogBuilderCallbackEx.h"

#include "app/NeritPageUI.h"

#include <new>

namespace NeritApp {

std::unique_ptr<SkinUI::CControlUI> CDialogBuilderCallbackEx::CreateControl(std::u16string_view className)
{
    const NeritPageKind* kind = FindPageKind(className);
    if (kind == nullptr)
        return nullptr;
    return std::unique_ptr<SkinUI::CControlUI>(new (std::nothrow) NeritPageUI(*kind, this));
}

}  // namespace NeritApp
