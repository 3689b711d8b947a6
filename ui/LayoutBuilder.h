// Builds a control tree from a skin layout: settings elements ("Image",
// "Font", "Default", the "Window" attributes) go to the window manager, every
// other element becomes a control through the tag table or the callback.
#pragma once

#include "ui/ControlUI.h"
#include "ui/MarkupDocument.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

class CWindowUIManager;

// Creates the program's own controls from tags the framework does not know.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual std::unique_ptr<CControlUI> CreateControl(std::u16string_view className) = 0;
};

class CLayoutBuilder {
public:
    // Why the last build produced nothing.
    enum class BuildError {
        None,
        Load,         // the layout is missing or does not parse (Markup() tells why)
        NoContainer,  // a control was to go into a parent that takes no children
        TooDeep,      // controls or includes nested past the caps below
        TooLarge,     // more controls and included layouts than kMaxControls, or
                      // more layout text than the text budget
    };
    // Caps that keep a hostile layout from exhausting the stack or memory.
    static constexpr int kMaxNesting = 256;
    static constexpr int kMaxIncludeDepth = 8;
    static constexpr size_t kMaxControls = 100000;
    // The layout text one build may go through, in characters (each at least
    // a byte of the source): every copy of an included layout counts its
    // text again, since building it walks that text again.
    static constexpr size_t kMaxText = size_t{16} << 20;
    void SetMaxText(size_t characters) { maxText_ = characters; }

    // The layout is a numeric resource of `type`, an XML text starting with
    // '<', or a file (relative to the manager's resource folder). The
    // top-level controls go into `parent`; the first one is returned. Nothing
    // is added to `parent` when the build fails or builds nothing.
    CControlUI* Create(unsigned resourceId, std::string_view type, IDialogBuilderCallback* callback,
                       CWindowUIManager* manager, CControlUI& parent);
    CControlUI* Create(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback, CWindowUIManager* manager,
                       CControlUI& parent);
    // Without a parent: the first top-level control, owned by the caller
    // (nullptr when the build fails or builds nothing).
    std::unique_ptr<CControlUI> Create(unsigned resourceId, std::string_view type, IDialogBuilderCallback* callback,
                                       CWindowUIManager* manager);
    std::unique_ptr<CControlUI> Create(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback,
                                       CWindowUIManager* manager);
    // The same as Create without a parent.
    std::unique_ptr<CControlUI> CreateDetached(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback,
                                               CWindowUIManager* manager)
    {
        return Create(xmlOrFile, callback, manager);
    }
    std::unique_ptr<CControlUI> CreateDetached(unsigned resourceId, std::string_view type,
                                               IDialogBuilderCallback* callback, CWindowUIManager* manager)
    {
        return Create(resourceId, type, callback, manager);
    }

    const CMarkupDocument& Markup() const { return markup_; }
    BuildError LastError() const { return error_; }

private:
    struct Build;

    bool LoadResource(unsigned resourceId, std::string_view type);
    bool LoadXmlOrFile(std::u16string_view xmlOrFile, CWindowUIManager* manager);
    void RegisterSettings(CWindowUIManager& manager) const;
    void ApplyWindowAttributes(CWindowUIManager& manager) const;
    void BuildLoaded(Build& build, CControlUI* parent) const;
    std::vector<std::unique_ptr<CControlUI>> Run(bool loaded, IDialogBuilderCallback* callback,
                                                 CWindowUIManager* manager, CControlUI* parent);
    CControlUI* BuildInto(bool loaded, IDialogBuilderCallback* callback, CWindowUIManager* manager,
                          CControlUI& parent);
    std::unique_ptr<CControlUI> BuildAlone(bool loaded, IDialogBuilderCallback* callback,
                                           CWindowUIManager* manager);

    CMarkupDocument markup_;
    std::string resourceType_;  // set when the layout came from a resource
    BuildError error_ = BuildError::None;
    size_t maxText_ = kMaxText;
};

}  // namespace SkinUI
