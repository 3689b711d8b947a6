#include "app/NeritPageUI.h"

namespace NeritApp {
namespace {

// How many pages are being built, one inside the other, right now.
thread_local int g_nesting = 0;

struct NestingGuard {
    NestingGuard() { ++g_nesting; }
    ~NestingGuard() { --g_nesting; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

}  // namespace

const NeritPageKind* FindPageKind(std::u16string_view element)
{
    for (const NeritPageKind& kind : kNeritPages) {
        if (kind.element == element)
            return &kind;
    }
    return nullptr;
}

NeritPageUI::NeritPageUI(const NeritPageKind& kind, SkinUI::IDialogBuilderCallback* callback) : kind_(kind)
{
    if (kind.layout == 0 || g_nesting >= kMaxNesting)
        return;
    const NestingGuard nested;
    SkinUI::CLayoutBuilder builder;
    std::unique_ptr<SkinUI::CControlUI> content =
        builder.Create(kind.layout, "xml", kind.passesCallback ? callback : nullptr, nullptr);
    if (content)
        Add(std::move(content));
}

void NeritPageUI::DoEvent(SkinUI::TEventUI& event)
{
    const bool releaseOrWheel = event.type == SkinUI::UIEvent::ButtonUp || event.type == SkinUI::UIEvent::ScrollWheel;
    if (kind_.keepsOwnReleaseAndWheel && releaseOrWheel && event.sender == this)
        return;
    CContainerUI::DoEvent(event);
}

}  // namespace NeritApp
