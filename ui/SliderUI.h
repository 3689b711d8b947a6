// A progress bar with a thumb that the user drags.
#pragma once

#include "ui/ProgressUI.h"

#include <string>

namespace SkinUI {

class CSliderUI : public CProgressUI {
public:
    std::u16string_view GetClass() const override { return u"SliderUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetThumbImage(std::u16string_view image) { m_thumbImage = image; }
    void SetThumbHotImage(std::u16string_view image) { m_thumbHotImage = image; }
    void SetThumbPushedImage(std::u16string_view image) { m_thumbPushedImage = image; }
    const std::u16string& GetThumbImage() const { return m_thumbImage; }
    const std::u16string& GetThumbHotImage() const { return m_thumbHotImage; }
    const std::u16string& GetThumbPushedImage() const { return m_thumbPushedImage; }
    void SetThumbSize(const UISize& size) { m_thumbSize = size; }
    const UISize& GetThumbSize() const { return m_thumbSize; }
    // The change of one keyboard step; below 1 is ignored.
    void SetStep(int step);
    int GetStep() const { return m_step; }

private:
    std::u16string m_thumbImage;
    std::u16string m_thumbHotImage;
    std::u16string m_thumbPushedImage;
    UISize m_thumbSize{10, 10};
    int m_step = 1;
};

}  // namespace SkinUI
