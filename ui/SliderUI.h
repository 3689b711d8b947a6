// A progress bar with a thumb that the user drags. The button state (kHot,
// kPushed) is the thumb's, set by the event handling.
#pragma once

#include "ui/ButtonState.h"
#include "ui/ProgressUI.h"

#include <string>

namespace SkinUI {

class CSliderUI : public CProgressUI, public CButtonStateHolder {
public:
    std::u16string_view GetClass() const override { return u"SliderUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetThumbImage(std::u16string_view image) { m_thumbImage = image; Invalidate(); }
    void SetThumbHotImage(std::u16string_view image) { m_thumbHotImage = image; Invalidate(); }
    void SetThumbPushedImage(std::u16string_view image) { m_thumbPushedImage = image; Invalidate(); }
    const std::u16string& GetThumbImage() const { return m_thumbImage; }
    const std::u16string& GetThumbHotImage() const { return m_thumbHotImage; }
    const std::u16string& GetThumbPushedImage() const { return m_thumbPushedImage; }
    void SetThumbSize(const UISize& size) { m_thumbSize = size; }
    const UISize& GetThumbSize() const { return m_thumbSize; }
    // The change of one keyboard step; below 1 is ignored.
    void SetStep(int step);
    int GetStep() const { return m_step; }

    // Where the thumb stands, in window coordinates: centred across the bar,
    // and (length - thumb) × (value - min) / (max - min) along it from the
    // left, or from the bottom of a vertical bar.
    UIRect GetThumbRect() const;

    // Left press captures the mouse; moves set the value from the point;
    // the release sets it once more and sends "valuechanged". A wheel notch
    // adds or subtracts the step (unclamped until the next paint) and sends
    // "valuechanged". Values set by the program send nothing.
    void DoEvent(TEventUI& event) override;
    bool IsCaptured() const { return m_captured; }
    // The value a press at `point` stands for: the thumb's half at either
    // end gives the end's value, between them the range is spread evenly.
    int ValueAt(UIPoint point) const;

protected:
    // The filled part, then the thumb in its state's image.
    void PaintStatusImage(platform::Painter& painter) override;

private:
    const std::u16string& ThumbImage() const;
    void SetStateFlag(unsigned flag, bool on);
    void StepByWheel(int steps);
    void NotifyValueChanged();

    std::u16string m_thumbImage;
    std::u16string m_thumbHotImage;
    std::u16string m_thumbPushedImage;
    UISize m_thumbSize{10, 10};
    int m_step = 1;
    bool m_captured = false;
};

}  // namespace SkinUI
