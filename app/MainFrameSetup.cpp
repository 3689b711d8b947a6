#include "app/MainFrameSetup.h"

#include "app/SkinLanguages.h"
#include "ui/ComboUI.h"
#include "ui/ListLabelElementUI.h"

#include <memory>
#include <string>

namespace NeritApp {

using namespace SkinUI;

void MainFrameSetup::ApplyLanguage(CWindowUIManager& manager, int language)
{
    if (language < 0 || language >= static_cast<int>(std::size(kSkinLanguages)))
        language = 0;
    const SkinLanguage& skin = kSkinLanguages[language];
    if (skin.defaultFont < manager.GetFontCount()) {
        const FontInfo* font = manager.GetFont(skin.defaultFont);
        manager.SetDefaultFont(font->face, font->size, font->bold, font->underline, font->italic);
    }
    auto* combo = dynamic_cast<CComboUI*>(manager.FindControl(u"selectlanguagecmb"));
    if (combo == nullptr || combo->GetCount() > 0)
        return;
    combo->SetAttribute(u"itemfont", std::u16string(1, static_cast<char16_t>(u'0' + kLanguageFont)));
    for (const SkinLanguage& item : kSkinLanguages) {
        auto label = std::make_unique<CListLabelElementUI>();
        label->SetText(item.name);
        combo->Add(std::move(label));
    }
    combo->SetCurSel(language);
}

}  // namespace NeritApp
