// The child list of a container control. Containers own their children.
#pragma once

#include <memory>

namespace SkinUI {

class CControlUI;

class IContainerUI {
public:
    virtual ~IContainerUI() = default;

    // Appends the control; true when the container took it (a refused
    // control is destroyed with the pointer).
    virtual bool Add(std::unique_ptr<CControlUI> control) = 0;
    // Inserts before `index` (0..count); false for another index or no control.
    virtual bool AddAt(std::unique_ptr<CControlUI> control, int index) = 0;
    // Destroys the child; false when it is not a child of this container.
    virtual bool Remove(CControlUI* control) = 0;
    virtual void RemoveAll() = 0;
    virtual int GetCount() const = 0;
    // nullptr outside 0..count-1.
    virtual CControlUI* GetItemAt(int index) const = 0;
    // -1 when it is not a child.
    virtual int GetItemIndex(const CControlUI* control) const = 0;
};

}  // namespace SkinUI
