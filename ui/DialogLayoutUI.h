// A container whose children keep their "pos" and follow its size by their
// stretch flags ("stretch" attribute of the child element).
#pragma once

#include "ui/ContainerUI.h"

#include <string_view>
#include <utility>
#include <vector>

namespace SkinUI {

namespace StretchFlags {
inline constexpr unsigned Group = 1;
inline constexpr unsigned Line = 2;
inline constexpr unsigned MoveX = 4;
inline constexpr unsigned MoveY = 8;
inline constexpr unsigned MoveXY = MoveX | MoveY;
inline constexpr unsigned SizeX = 16;
inline constexpr unsigned SizeY = 32;
inline constexpr unsigned SizeXY = SizeX | SizeY;
}  // namespace StretchFlags

// The flags of a "stretch" value: every word it contains ("group", "line",
// "move_x", "move_y", "move_xy", "size_x", "size_y", "size_xy") is OR-ed in.
unsigned ParseStretchFlags(std::u16string_view value);

class CDialogLayoutUI : public CContainerUI {
public:
    std::u16string_view GetClass() const override { return u"DialogLayoutUI"; }

    // Replaces the flags stored for the control.
    void SetStretchMode(CControlUI* control, unsigned flags);
    // 0 for a control without flags.
    unsigned GetStretchMode(const CControlUI* control) const;

    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

private:
    std::vector<std::pair<const CControlUI*, unsigned>> m_stretch;
};

}  // namespace SkinUI
