// A button with a selected state. Options that share a group name are
// registered with the window manager's option groups; the rule that selecting
// one unselects the others holds from the build on.
#pragma once

#include "ui/ButtonUI.h"

#include <span>
#include <string>

namespace SkinUI {

class COptionUI : public CButtonUI {
public:
    COptionUI() = default;
    // Leaves the option group it was registered in.
    ~COptionUI() override;

    std::u16string_view GetClass() const override { return u"OptionUI"; }
    // Registers with the new manager's option group.
    void SetManager(CWindowUIManager* manager, CControlUI* parent) override;
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    // Moves the option to another group (empty: none).
    void SetGroup(std::u16string_view group);
    const std::u16string& GetGroup() const { return m_group; }
    // Stores the state without telling anyone (layouts, group members).
    void SetSelected(bool on) { m_selected = on; }
    bool IsSelected() const { return m_selected; }
    // Changes the state as the user does: a grouped option that becomes
    // selected unselects the others of its group, then sends "selectchanged"
    // (with `notify`); an option without a group sends it both ways.
    void Selected(bool selected, bool notify = true);
    // "click", then selects a grouped option or toggles one without a group.
    bool Activate() override;
    // The group rule for freshly built trees: of the selected options of a
    // group, in document order, the last stays selected and the others
    // (with a manager, also its other members of that group) are unselected.
    // Nobody is notified.
    static void KeepOneSelectedPerGroup(std::span<CControlUI* const> roots, CWindowUIManager* manager);

    void SetSelectedImage(std::u16string_view image) { m_selectedImage = image; Invalidate(); }
    void SetForeImage(std::u16string_view image) { m_foreImage = image; Invalidate(); }
    const std::u16string& GetSelectedImage() const { return m_selectedImage; }
    const std::u16string& GetForeImage() const { return m_foreImage; }
    // 0: the normal text colour.
    void SetSelectedTextColor(uint32_t color) { UpdatePainted(m_selectedTextColor, color); }
    uint32_t GetSelectedTextColor() const { return m_selectedTextColor; }

protected:
    // While selected the selected image replaces the state images; the fore
    // image goes on top in every state.
    void PaintStatusImage(platform::Painter& painter) override;
    uint32_t CurrentTextColor() const override;

private:
    void LeaveGroup();
    void JoinGroup();

    std::u16string m_group;
    // The manager whose group holds this option; it stays registered there
    // while the option is unbound between building and attaching.
    CWindowUIManager* m_groupManager = nullptr;
    bool m_selected = false;
    std::u16string m_selectedImage;
    std::u16string m_foreImage;
    uint32_t m_selectedTextColor = 0;
};

}  // namespace SkinUI
