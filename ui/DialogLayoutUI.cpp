#include "ui/DialogLayoutUI.h"

#include <algorithm>

namespace SkinUI {

unsigned ParseStretchFlags(std::u16string_view value)
{
    struct StretchWord {
        std::u16string_view word;
        unsigned flags;
    };
    static constexpr StretchWord kWords[] = {
        {u"group", StretchFlags::Group},
        {u"line", StretchFlags::Line},
        {u"move_x", StretchFlags::MoveX},
        {u"move_y", StretchFlags::MoveY},
        {u"move_xy", StretchFlags::MoveXY},
        {u"size_x", StretchFlags::SizeX},
        {u"size_y", StretchFlags::SizeY},
        {u"size_xy", StretchFlags::SizeXY},
    };
    unsigned flags = 0;
    for (const StretchWord& word : kWords) {
        if (value.find(word.word) != std::u16string_view::npos)
            flags |= word.flags;
    }
    return flags;
}

void CDialogLayoutUI::SetStretchMode(CControlUI* control, unsigned flags)
{
    for (auto& entry : m_stretch) {
        if (entry.first == control) {
            entry.second = flags;
            return;
        }
    }
    m_stretch.emplace_back(control, flags);
}

unsigned CDialogLayoutUI::GetStretchMode(const CControlUI* control) const
{
    for (const auto& entry : m_stretch) {
        if (entry.first == control)
            return entry.second;
    }
    return 0;
}

bool CDialogLayoutUI::Remove(CControlUI* control)
{
    std::erase_if(m_stretch, [control](const auto& entry) { return entry.first == control; });
    return CContainerUI::Remove(control);
}

void CDialogLayoutUI::RemoveAll()
{
    m_stretch.clear();
    CContainerUI::RemoveAll();
}

}  // namespace SkinUI
