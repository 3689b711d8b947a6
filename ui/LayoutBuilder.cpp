#include "ui/LayoutBuilder.h"

#include "ui/AttributeValues.h"
#include "ui/ControlFactory.h"
#include "ui/DialogLayoutUI.h"
#include "ui/IContainerUI.h"
#include "ui/Resources.h"
#include "platform/Utf16.h"
#include "ui/WindowUIManager.h"

#include <string>

namespace SkinUI {
namespace {

constexpr std::u16string_view kImageTag = u"Image";
constexpr std::u16string_view kFontTag = u"Font";
constexpr std::u16string_view kDefaultTag = u"Default";
constexpr std::u16string_view kIncludeTag = u"Include";
constexpr std::u16string_view kWindowTag = u"Window";
// A layout that includes itself, or asks for absurd counts, stops here.
constexpr int kMaxIncludeDepth = 8;
constexpr int kMaxIncludeCount = 1000;

bool IsSettingsTag(std::u16string_view tag)
{
    return tag == kImageTag || tag == kFontTag || tag == kDefaultTag;
}

std::u16string Attribute(const CMarkupCursor& node, std::u16string_view name)
{
    std::u16string value;
    node.FindAttribute(name, value);
    return value;
}

void RegisterImage(CWindowUIManager& manager, const CMarkupCursor& node)
{
    const std::u16string name = Attribute(node, u"name");
    if (name.empty())
        return;
    std::u16string mask = Attribute(node, u"mask");
    manager.AddImage(name, Attribute(node, u"restype"), mask.empty() ? 0 : ParseColor(mask));
}

void RegisterFont(CWindowUIManager& manager, const CMarkupCursor& node)
{
    std::u16string size;
    const int points = node.FindAttribute(u"size", size) ? ParseInt(size) : 12;
    const std::u16string face = Attribute(node, u"name");
    const bool bold = ParseBool(Attribute(node, u"bold"));
    const bool underline = ParseBool(Attribute(node, u"underline"));
    const bool italic = ParseBool(Attribute(node, u"italic"));
    manager.AddFont(face, points, bold, underline, italic);
    if (ParseBool(Attribute(node, u"default")))
        manager.SetDefaultFont(face, points, bold, underline, italic);
}

}  // namespace

// One run of the builder over one document (an include runs its own).
struct CLayoutBuilder::Build {
    CLayoutBuilder& builder;
    IDialogBuilderCallback* callback;
    CWindowUIManager* manager;
    std::unique_ptr<CControlUI> detached;  // the first top-level control without a parent
    bool stopped = false;

    CControlUI* Children(const CMarkupCursor& first, CControlUI* parent);
    void Include(const CMarkupCursor& node, CControlUI* parent);
    std::unique_ptr<CControlUI> Create(std::u16string_view tag);
    CControlUI* Place(std::unique_ptr<CControlUI> control, CControlUI* parent);
    void Configure(CControlUI& control, std::u16string_view tag, const CMarkupCursor& node, CControlUI* parent);
};

std::unique_ptr<CControlUI> CLayoutBuilder::Build::Create(std::u16string_view tag)
{
    if (auto control = CreateControl(tag))
        return control;
    return callback != nullptr ? callback->CreateControl(tag) : nullptr;
}

// Adds the control to its parent; without a parent the first top-level
// control is kept for the caller. Returns the control, or nullptr when it was
// refused (and destroyed).
CControlUI* CLayoutBuilder::Build::Place(std::unique_ptr<CControlUI> control, CControlUI* parent)
{
    CControlUI* raw = control.get();
    if (parent == nullptr) {
        if (!detached)
            detached = std::move(control);
        return detached.get() == raw ? raw : nullptr;
    }
    IContainerUI* container = parent->GetContainer();
    if (container == nullptr) {
        stopped = true;
        return nullptr;
    }
    return container->Add(std::move(control)) ? raw : nullptr;
}

void CLayoutBuilder::Build::Configure(CControlUI& control, std::u16string_view tag, const CMarkupCursor& node,
                                      CControlUI* parent)
{
    if (manager != nullptr) {
        control.SetManager(manager, parent);
        const std::u16string defaults = manager->GetDefaultAttributeList(tag);
        if (!defaults.empty())
            control.ApplyAttributeList(defaults);
    }
    const size_t count = node.AttributeCount();
    for (size_t i = 0; i < count; ++i)
        control.SetAttribute(node.AttributeName(i), node.AttributeValue(i));
    std::u16string stretch;
    if (parent != nullptr && node.FindAttribute(u"stretch", stretch)) {
        if (auto* dialog = dynamic_cast<CDialogLayoutUI*>(parent))
            dialog->SetStretchMode(&control, ParseStretchFlags(stretch));
    }
    if (manager != nullptr)
        control.SetManager(nullptr, parent);
}

CControlUI* CLayoutBuilder::Build::Children(const CMarkupCursor& first, CControlUI* parent)
{
    CControlUI* firstCreated = nullptr;
    for (CMarkupCursor node = first; node.Valid() && !stopped; node = node.NextSibling()) {
        const std::u16string_view tag = node.Name();
        if (IsSettingsTag(tag))
            continue;
        if (tag == kIncludeTag) {
            Include(node, parent);
            continue;
        }
        std::unique_ptr<CControlUI> control = Create(tag);
        if (!control)
            continue;  // unknown tag: skipped with its children
        if (node.HasChild())
            Children(node.FirstChild(), control.get());
        if (stopped)
            return nullptr;
        CControlUI* placed = Place(std::move(control), parent);
        if (stopped)
            return nullptr;
        if (placed == nullptr)
            continue;
        Configure(*placed, tag, node, parent);
        if (firstCreated == nullptr)
            firstCreated = placed;
    }
    return firstCreated;
}

void CLayoutBuilder::Build::Include(const CMarkupCursor& node, CControlUI* parent)
{
    std::u16string countText;
    const int count = node.FindAttribute(u"count", countText) ? ParseInt(countText) : 1;
    const std::u16string source = Attribute(node, u"source");
    if (builder.includeDepth_ >= kMaxIncludeDepth)
        return;
    for (int i = 0; i < count && i < kMaxIncludeCount && !stopped; ++i) {
        CLayoutBuilder included;
        included.includeDepth_ = builder.includeDepth_ + 1;
        if (!builder.resourceType_.empty())
            included.Create(static_cast<unsigned>(ParseInt(source)), builder.resourceType_, callback, manager, parent);
        else
            included.Create(source, callback, manager, parent);
    }
}

bool CLayoutBuilder::LoadResource(unsigned resourceId, std::string_view type)
{
    resourceType_ = std::string(type);
    const auto bytes = FindResource(resourceId, type);
    if (!bytes) {
        markup_.Clear();
        return false;
    }
    return markup_.LoadBytes(bytes->data(), bytes->size());
}

bool CLayoutBuilder::LoadXmlOrFile(std::u16string_view xmlOrFile, CWindowUIManager* manager)
{
    resourceType_.clear();
    if (!xmlOrFile.empty() && xmlOrFile.front() == u'<')
        return markup_.LoadText(xmlOrFile);
    const ResourceLocation location = manager != nullptr ? manager->GetResourceLocation() : ResourceLocation();
    return markup_.LoadFile(platform::Utf16ToUtf8(xmlOrFile), location);
}

void CLayoutBuilder::RegisterSettings(CWindowUIManager& manager)
{
    for (CMarkupCursor node = markup_.Root().FirstChild(); node.Valid(); node = node.NextSibling()) {
        const std::u16string_view tag = node.Name();
        if (tag == kImageTag) {
            RegisterImage(manager, node);
        } else if (tag == kFontTag) {
            RegisterFont(manager, node);
        } else if (tag == kDefaultTag) {
            const std::u16string name = Attribute(node, u"name");
            if (!name.empty())
                manager.AddDefaultAttributeList(name, Attribute(node, u"value"));
        }
    }
}

void CLayoutBuilder::ApplyWindowAttributes(CWindowUIManager& manager)
{
    const CMarkupCursor root = markup_.Root();
    if (root.Name() != kWindowTag || !manager.HasNativeWindow())
        return;
    const size_t count = root.AttributeCount();
    for (size_t i = 0; i < count; ++i)
        manager.SetWindowAttribute(root.AttributeName(i), root.AttributeValue(i));
}

CControlUI* CLayoutBuilder::BuildLoaded(IDialogBuilderCallback* callback, CWindowUIManager* manager,
                                        CControlUI* parent, std::unique_ptr<CControlUI>* detached)
{
    if (manager != nullptr) {
        RegisterSettings(*manager);
        ApplyWindowAttributes(*manager);
    }
    // The root's children are the controls; the root itself is not built.
    Build build{*this, callback, manager, nullptr};
    CControlUI* first = build.Children(markup_.Root().FirstChild(), parent);
    if (detached != nullptr)
        *detached = std::move(build.detached);
    return build.stopped ? nullptr : first;
}

CControlUI* CLayoutBuilder::Create(unsigned resourceId, std::string_view type, IDialogBuilderCallback* callback,
                                   CWindowUIManager* manager, CControlUI* parent)
{
    return LoadResource(resourceId, type) ? BuildLoaded(callback, manager, parent, nullptr) : nullptr;
}

CControlUI* CLayoutBuilder::Create(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback,
                                   CWindowUIManager* manager, CControlUI* parent)
{
    return LoadXmlOrFile(xmlOrFile, manager) ? BuildLoaded(callback, manager, parent, nullptr) : nullptr;
}

std::unique_ptr<CControlUI> CLayoutBuilder::CreateDetached(std::u16string_view xmlOrFile,
                                                           IDialogBuilderCallback* callback, CWindowUIManager* manager)
{
    std::unique_ptr<CControlUI> first;
    if (LoadXmlOrFile(xmlOrFile, manager))
        BuildLoaded(callback, manager, nullptr, &first);
    return first;
}

std::unique_ptr<CControlUI> CLayoutBuilder::CreateDetached(unsigned resourceId, std::string_view type,
                                                           IDialogBuilderCallback* callback, CWindowUIManager* manager)
{
    std::unique_ptr<CControlUI> first;
    if (LoadResource(resourceId, type))
        BuildLoaded(callback, manager, nullptr, &first);
    return first;
}

}  // namespace SkinUI
