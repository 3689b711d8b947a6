#include "ui/ControlFactory.h"

#include "ui/ActiveXUI.h"
#include "ui/ButtonUI.h"
#include "ui/ComboUI.h"
#include "ui/ContainerUI.h"
#include "ui/DialogLayoutUI.h"
#include "ui/EditUI.h"
#include "ui/HorizontalLayoutUI.h"
#include "ui/LabelUI.h"
#include "ui/ListContainerElementUI.h"
#include "ui/MenuUI.h"
#include "ui/ListHeaderItemUI.h"
#include "ui/ListHeaderUI.h"
#include "ui/ListLabelElementUI.h"
#include "ui/ListTextElementUI.h"
#include "ui/ListUI.h"
#include "ui/OptionUI.h"
#include "ui/ProgressUI.h"
#include "ui/RichEditUI.h"
#include "ui/ScrollBarUI.h"
#include "ui/SliderUI.h"
#include "ui/TabLayoutUI.h"
#include "ui/TextUI.h"
#include "ui/TileLayoutUI.h"
#include "ui/VerticalLayoutUI.h"

namespace SkinUI {
namespace {

template <class Control>
std::unique_ptr<CControlUI> Make()
{
    return std::make_unique<Control>();
}

struct TagEntry {
    std::u16string_view tag;
    std::unique_ptr<CControlUI> (*create)();
};

const TagEntry kTags[] = {
    {u"Control", &Make<CControlUI>},
    {u"Container", &Make<CContainerUI>},
    {u"Button", &Make<CButtonUI>},
    {u"VerticalLayout", &Make<CVerticalLayoutUI>},
    {u"Option", &Make<COptionUI>},
    {u"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {u"Label", &Make<CLabelUI>},
    {u"TileLayout", &Make<CTileLayoutUI>},
    {u"Text", &Make<CTextUI>},
    {u"DialogLayout", &Make<CDialogLayoutUI>},
    {u"Edit", &Make<CEditUI>},
    {u"TabLayout", &Make<CTabLayoutUI>},
    {u"RichEdit", &Make<CRichEditUI>},
    {u"List", &Make<CListUI>},
    {u"Combo", &Make<CComboUI>},
    {u"ListHeader", &Make<CListHeaderUI>},
    {u"Slider", &Make<CSliderUI>},
    {u"ListHeaderItem", &Make<CListHeaderItemUI>},
    {u"Progress", &Make<CProgressUI>},
    {u"ListTextElement", &Make<CListTextElementUI>},
    {u"ScrollBar", &Make<CScrollBarUI>},
    {u"ListLabelElement", &Make<CListLabelElementUI>},
    {u"ActiveX", &Make<CActiveXUI>},
    {u"ListContainerElement", &Make<CListContainerElementUI>},
    {u"MenuElement", &Make<CMenuElementUI>},
};

}  // namespace

std::unique_ptr<CControlUI> CreateControl(std::u16string_view tag)
{
    for (const TagEntry& entry : kTags) {
        if (entry.tag == tag)
            return entry.create();
    }
    return nullptr;
}

}  // namespace SkinUI
