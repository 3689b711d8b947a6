// A container that stacks its children from top to bottom. "sepheight" is the
// height of the drag separator between it and its neighbour (0: none).
#pragma once

#include "ui/ContainerUI.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override { return u"VerticalLayoutUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetSepHeight(int size) { m_sep = size; }
    int GetSepHeight() const { return m_sep; }
    // "sepimm": resizing by the separator applies at once, not on release.
    void SetSepImmediate(bool on) { m_sepImmediate = on; }
    bool IsSepImmediate() const { return m_sepImmediate; }

protected:
    UISize LayoutChildren(const UIRect& inner) override;

private:
    int m_sep = 0;
    bool m_sepImmediate = false;
};

}  // namespace SkinUI
