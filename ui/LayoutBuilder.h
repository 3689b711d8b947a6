// Builds a control tree from a skin layout: settings elements ("Image",
// "Font", "Default", the "Window" attributes) go to the window manager, every
// other element becomes a control through the tag table or the callback.
#pragma once

#include "ui/ControlUI.h"
#include "ui/MarkupDocument.h"

#include <memory>
#include <string>
#include <string_view>

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
    // The layout is a numeric resource of `type`, an XML text starting with
    // '<', or a file (relative to the manager's resource folder). The top-level
    // controls go into `parent`; the first one is returned (nullptr when the
    // layout does not parse or builds nothing).
    CControlUI* Create(unsigned resourceId, std::string_view type, IDialogBuilderCallback* callback,
                       CWindowUIManager* manager, CControlUI* parent);
    CControlUI* Create(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback, CWindowUIManager* manager,
                       CControlUI* parent);
    // Without a parent: the first top-level control, owned by the caller.
    std::unique_ptr<CControlUI> CreateDetached(std::u16string_view xmlOrFile, IDialogBuilderCallback* callback,
                                               CWindowUIManager* manager);
    std::unique_ptr<CControlUI> CreateDetached(unsigned resourceId, std::string_view type,
                                               IDialogBuilderCallback* callback, CWindowUIManager* manager);

    const CMarkupDocument& Markup() const { return markup_; }

private:
    struct Build;

    bool LoadResource(unsigned resourceId, std::string_view type);
    bool LoadXmlOrFile(std::u16string_view xmlOrFile, CWindowUIManager* manager);
    void RegisterSettings(CWindowUIManager& manager);
    void ApplyWindowAttributes(CWindowUIManager& manager);
    CControlUI* BuildLoaded(IDialogBuilderCallback* callback, CWindowUIManager* manager, CControlUI* parent,
                            std::unique_ptr<CControlUI>* detached);

    CMarkupDocument markup_;
    std::string resourceType_;  // set when the layout came from a resource
    int includeDepth_ = 0;
};

}  // namespace SkinUI
