#include "app/ProfileArea.h"

#include "settings/CodePage.h"
#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"
#include "ui/OptionUI.h"

namespace NeritApp {

namespace {

namespace field = settings::layout::profile;
using SkinUI::CControlUI;

constexpr std::u16string_view kPagePrefixes[] = {u"", u"k"};
constexpr std::u16string_view kProfileExtension = u".vqp";

std::u16string ImageText(std::u16string_view file)
{
    return u"file='" + std::u16string(file) + u"' mask='0xffffffff' ";
}

std::u16string ProfileImage(int number, int state)
{
    std::u16string file = u"Profile0";
    file += static_cast<char16_t>(u'0' + number);
    file += u'-';
    file += static_cast<char16_t>(u'0' + state);
    return ImageText(file + u".png");
}

std::u16string NameFor(std::u16string_view prefix, std::u16string_view pattern, int number)
{
    std::u16string name(prefix);
    for (char16_t c : pattern)
        name += c == u'#' ? static_cast<char16_t>(u'0' + number) : c;
    return name;
}

bool InUse(int index)
{
    return settings::Store().Profile(static_cast<size_t>(index)).Get(field::kInUse) == 1;
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EndsWithExtension(std::u16string_view text)
{
    if (text.size() <= kProfileExtension.size())
        return false;
    const std::u16string_view end = text.substr(text.size() - kProfileExtension.size());
    for (size_t i = 0; i < end.size(); ++i) {
        if (Lower(end[i]) != kProfileExtension[i])
            return false;
    }
    return true;
}

std::u16string WithoutExtension(std::u16string_view text)
{
    return std::u16string(EndsWithExtension(text) ? text.substr(0, text.size() - kProfileExtension.size()) : text);
}

}  // namespace

template <typename Visit>
void ProfileArea::ForBothPages(std::u16string_view pattern, int number, Visit visit)
{
    for (std::u16string_view prefix : kPagePrefixes) {
        if (CControlUI* control = manager_.FindControl(NameFor(prefix, pattern, number)))
            visit(*control);
    }
}

void ProfileArea::ShowPictures(int index)
{
    for (int number = 1; number <= kProfiles; ++number) {
        const bool inUse = InUse(number - 1);
        ForBothPages(u"profile#option", number, [&](CControlUI& option) {
            option.SetAttribute(u"normalimage", ProfileImage(number, inUse ? 2 : 1));
            option.SetAttribute(u"hotimage", ProfileImage(number, inUse ? 3 : 1));
            option.SetAttribute(u"selectedimage", ProfileImage(number, inUse ? 3 : 1));
        });
        // Only the shown profile's buttons react to the mouse.
        const int hot = number == index + 1 ? 2 : 1;
        ForBothPages(u"profile#savebtn", number, [&](CControlUI& button) {
            button.SetAttribute(u"normalimage", ImageText(u"ProfileSavebutton1.png"));
            button.SetAttribute(u"hotimage", ImageText(hot == 2 ? u"ProfileSavebutton2.png" : u"ProfileSavebutton1.png"));
        });
        ForBothPages(u"profile#defaultbtn", number, [&](CControlUI& button) {
            button.SetAttribute(u"normalimage", ImageText(u"ProfileDefaultbutton1.png"));
            button.SetAttribute(u"hotimage",
                                ImageText(hot == 2 ? u"ProfileDefaultbutton2.png" : u"ProfileDefaultbutton1.png"));
        });
    }
}

void ProfileArea::ShowInUse()
{
    for (int number = 1; number <= kProfiles; ++number) {
        ForBothPages(u"profile#_inuse_option", number, [&](CControlUI& control) {
            if (auto* option = dynamic_cast<SkinUI::COptionUI*>(&control))
                option->Selected(InUse(number - 1), false);
        });
    }
}

void ProfileArea::ShowName(int index)
{
    const std::string name = settings::Store().Profile(static_cast<size_t>(index)).Name();
    SetNameLabels(WithoutExtension(settings::ToUtf16(name)));
}

void ProfileArea::SetNameLabels(std::u16string_view text)
{
    CControlUI* main = manager_.FindControl(u"Profilenamelabel");
    CControlUI* performance = manager_.FindControl(u"kProfilenamelabel");
    if (main == nullptr || performance == nullptr)
        return;
    main->SetText(std::u16string(text));
    performance->SetText(std::u16string(text));
}

void ProfileArea::SelectOption(int index)
{
    for (int number = 1; number <= kProfiles; ++number) {
        ForBothPages(u"profile#option", number, [&](CControlUI& control) {
            if (auto* option = dynamic_cast<SkinUI::COptionUI*>(&control))
                option->Selected(number == index + 1, false);
        });
    }
}

int ProfileArea::NumberIn(std::u16string_view name, std::u16string_view pattern)
{
    for (std::u16string_view prefix : kPagePrefixes) {
        for (int number = 1; number <= kProfiles; ++number) {
            if (name == NameFor(prefix, pattern, number))
                return number;
        }
    }
    return 0;
}

std::u16string ProfileArea::DisplayName(std::u16string_view path)
{
    const size_t slash = path.find_last_of(u'/');
    const std::u16string_view file = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = file.find_last_of(u'.');
    if (dot != std::u16string_view::npos && dot > 0)
        return WithoutExtension(file);
    return WithoutExtension(std::u16string(path) + std::u16string(kProfileExtension));
}

}  // namespace NeritApp
