#include "ui/LayoutBuilder.h"

#include "ui/AttributeValues.h"
#include "ui/ControlFactory.h"
#include "ui/DialogLayoutUI.h"
#include "ui/IContainerUI.h"
#include "ui/OptionUI.h"
#include "ui/Resources.h"
#include "platform/Utf16.h"
#include "ui/WindowUIManager.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

constexpr std::u16string_view kImageTag = u"Image";
constexpr std::u16string_view kFontTag = u"Font";
constexpr std::u16string_view kDefaultTag = u"Default";
constexpr std::u16string_view kIncludeTag = u"Include";
constexpr std::u16string_view kWindowTag = u"Window";
// Copies of one include past this count are not built.
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

// One build: the run over the layout and the runs over its includes share
// the callback, the manager, the caps and the top-level controls. These are
// held here until the whole build succeeded, so that a failed build leaves
// nothing in the parent.
struct CLayoutBuilder::Build {
    IDialogBuilderCallback* callback = nullptr;
    CWindowUIManager* manager = nullptr;
    CControlUI* topParent = nullptr;  // nullptr: only the first top-level control is kept
    std::vector<std::unique_ptr<CControlUI>> topLevel;
    size_t built = 0;  // controls and included layouts so far
    size_t text = 0;   // characters of layout text so far
    size_t maxText = kMaxText;
    // Every included source is loaded once per build; nullptr when it could
    // not be loaded.
    std::map<std::u16string, std::unique_ptr<CLayoutBuilder>, std::less<>> includes;
    int nesting = 0;
    int includeDepth = 0;
    BuildError error = BuildError::None;

    bool Stopped() const { return error != BuildError::None; }
    bool Stop(BuildError why);
    bool Count();
    bool CountText(const CLayoutBuilder& layout);
    const CLayoutBuilder* Included(const CLayoutBuilder& builder, const std::u16string& source);
    void Children(const CLayoutBuilder& builder, const CMarkupCursor& first, CControlUI* parent);
    void Element(const CLayoutBuilder& builder, const CMarkupCursor& node, std::u16string_view tag,
                 CControlUI* parent);
    void Include(const CLayoutBuilder& builder, const CMarkupCursor& node, CControlUI* parent);
    std::unique_ptr<CControlUI> Create(std::u16string_view tag);
    CControlUI* Place(std::unique_ptr<CControlUI> control, CControlUI* parent);
    void Configure(CControlUI& control, std::u16string_view tag, const CMarkupCursor& node, CControlUI* parent);
};

bool CLayoutBuilder::Build::Stop(BuildError why)
{
    if (error == BuildError::None)
        error = why;
    return false;
}

// Counts one more control or included layout against the budget.
bool CLayoutBuilder::Build::Count()
{
    return ++built <= kMaxControls || Stop(BuildError::TooLarge);
}

// Counts the layout's text against the text budget.
bool CLayoutBuilder::Build::CountText(const CLayoutBuilder& layout)
{
    text += layout.markup_.TextLength();
    return text <= maxText || Stop(BuildError::TooLarge);
}

// The loaded included layout, read on its first use in this build.
const CLayoutBuilder* CLayoutBuilder::Build::Included(const CLayoutBuilder& builder, const std::u16string& source)
{
    const std::u16string key = platform::Utf8ToUtf16(builder.resourceType_) + u'\0' + source;
    const auto found = includes.find(key);
    if (found != includes.end())
        return found->second.get();
    auto included = std::make_unique<CLayoutBuilder>();
    const bool loaded = builder.resourceType_.empty()
                            ? included->LoadXmlOrFile(source, manager)
                            : included->LoadResource(static_cast<unsigned>(ParseInt(source)), builder.resourceType_);
    if (!loaded)
        included.reset();
    return includes.emplace(key, std::move(included)).first->second.get();
}

std::unique_ptr<CControlUI> CLayoutBuilder::Build::Create(std::u16string_view tag)
{
    if (auto control = CreateControl(tag))
        return control;
    return callback != nullptr ? callback->CreateControl(tag) : nullptr;
}

// Adds the control to its parent, or holds a top-level control for the end
// of the build. Returns the control, or nullptr when it was refused (and
// destroyed).
CControlUI* CLayoutBuilder::Build::Place(std::unique_ptr<CControlUI> control, CControlUI* parent)
{
    CControlUI* raw = control.get();
    IContainerUI* container = parent != nullptr ? parent->GetContainer() : nullptr;
    if (parent != nullptr && container == nullptr) {
        Stop(BuildError::NoContainer);
        return nullptr;
    }
    if (parent != topParent)
        return container->Add(std::move(control)) ? raw : nullptr;
    if (parent == nullptr && !topLevel.empty())
        return nullptr;
    topLevel.push_back(std::move(control));
    return raw;
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

// Builds one control element: its children first, then the control itself.
void CLayoutBuilder::Build::Element(const CLayoutBuilder& builder, const CMarkupCursor& node,
                                    std::u16string_view tag, CControlUI* parent)
{
    std::unique_ptr<CControlUI> control = Create(tag);
    if (!control || !Count())
        return;  // an unknown tag is skipped with its children
    if (node.HasChild()) {
        if (++nesting > kMaxNesting) {
            Stop(BuildError::TooDeep);
            return;
        }
        Children(builder, node.FirstChild(), control.get());
        --nesting;
        if (Stopped())
            return;
    }
    CControlUI* placed = Place(std::move(control), parent);
    if (placed != nullptr && !Stopped())
        Configure(*placed, tag, node, parent);
}

void CLayoutBuilder::Build::Children(const CLayoutBuilder& builder, const CMarkupCursor& first, CControlUI* parent)
{
    for (CMarkupCursor node = first; node.Valid() && !Stopped(); node = node.NextSibling()) {
        const std::u16string_view tag = node.Name();
        if (IsSettingsTag(tag))
            continue;
        if (tag == kIncludeTag) {
            Include(builder, node, parent);
            continue;
        }
        Element(builder, node, tag, parent);
    }
}

// Each copy of the included layout is built from the one loaded document,
// within this build's caps.
void CLayoutBuilder::Build::Include(const CLayoutBuilder& builder, const CMarkupCursor& node, CControlUI* parent)
{
    std::u16string countText;
    const int count = node.FindAttribute(u"count", countText) ? ParseInt(countText) : 1;
    const std::u16string source = Attribute(node, u"source");
    if (includeDepth >= kMaxIncludeDepth) {
        Stop(BuildError::TooDeep);
        return;
    }
    ++includeDepth;
    for (int i = 0; i < count && i < kMaxIncludeCount && Count(); ++i) {
        const CLayoutBuilder* included = Included(builder, source);
        if (included != nullptr && CountText(*included))
            included->BuildLoaded(*this, parent);
    }
    --includeDepth;
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

void CLayoutBuilder::RegisterSettings(CWindowUIManager& manager) const
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

void CLayoutBuilder::ApplyWindowAttributes(CWindowUIManager& manager) const
{
    const CMarkupCursor root = markup_.Root();
    if (root.Name() != kWindowTag || !manager.HasNativeWindow())
        return;
    const size_t count = root.AttributeCount();
    for (size_t i = 0; i < count; ++i)
        manager.SetWindowAttribute(root.AttributeName(i), root.AttributeValue(i));
}

void CLayoutBuilder::BuildLoaded(Build& build, CControlUI* parent) const
{
    if (build.manager != nullptr) {
        RegisterSettings(*build.manager);
        ApplyWindowAttributes(*build.manager);
    }
    // The root's children are the controls; the root itself is not built.
    build.Children(*this, markup_.Root().FirstChild(), parent);
}

// Runs a whole build; its top-level controls, or none when it failed.
std::vector<std::unique_ptr<CControlUI>> CLayoutBuilder::Run(bool loaded, IDialogBuilderCallback* callback,
                                                             CWindowUIManager* manager, CControlUI* parent)
{
    error_ = loaded ? BuildError::None : BuildError::Load;
    if (!loaded)
        return {};
    Build build;
    build.callback = callback;
    build.manager = manager;
    build.topParent = parent;
    build.maxText = maxText_;
    if (build.CountText(*this))
        BuildLoaded(build, parent);
    error_ = build.error;
    if (build.Stopped())
        return {};
    std::vector<CControlUI*> roots;
    for (const auto& control : build.topLevel)
        roots.push_back(control.get());
    COptionUI::KeepOneSelectedPerGroup(roots, manager);
    return std::move(build.topLevel);
}

CControlUI* CLayoutBuilder::BuildInto(bool loaded, IDialogBuilderCallback* callback, CWindowUIManager* manager,
                                      CControlUI& parent)
{
    std::vector<std::unique_ptr<CControlUI>> built = Run(loaded, callback, manager, &parent);
    CControlUI* first = nullptr;
    for (auto& control : built) {
        CControlUI* raw = control.get();
        if (parent.GetContainer()->Add(std::move(control)) && first == nullptr)
            first = raw;
    }
    return first;
}

std::unique_ptr<CControlUI> CLayoutBuilder::BuildAlone(bool loaded, IDialogBuilderCallback* callback,
                                                       CWindowUIManager* manager)
{
    std::vector<std::unique_ptr<CControlUI>> built = Run(loaded, callback, manager, nullptr);
    return built.empty() ? nullptr : std::move(built.front());
}

CControlUI* CLayoutBuilder::Create(unsigned resourceId, std::string_view type, IDialogBuilderCallback* callback,
                                   CWindowUIManager* manager, CControlUI& parent)
{
    return BuildInto(LoadResource(resourceId, type), callback, manager, parent);
}

CControlUI* CLayoutBuilder::Create(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback,
                                   CWindowUIManager* manager, CControlUI& parent)
{
    return BuildInto(LoadXmlOrFile(xmlOrFile, manager), callback, manager, parent);
}

std::unique_ptr<CControlUI> CLayoutBuilder::Create(unsigned resourceId, std::string_view type,
                                                   IDialogBuilderCallback* callback, CWindowUIManager* manager)
{
    return BuildAlone(LoadResource(resourceId, type), callback, manager);
}

std::unique_ptr<CControlUI> CLayoutBuilder::Create(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback,
                                                   CWindowUIManager* manager)
{
    return BuildAlone(LoadXmlOrFile(xmlOrFile, manager), callback, manager);
}

}  // namespace SkinUI
