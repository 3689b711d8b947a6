// A bar that shows a value between a minimum and a maximum with its
// foreground image.
#pragma once

#include "ui/LabelUI.h"

#include <string>

namespace SkinUI {

class CProgressUI : public CLabelUI {
public:
    CProgressUI();

    std::u16string_view GetClass() const override { return u"ProgressUI"; }
    void SetAttribute(std::u16string_view name, std::u16string_view value) override;

    void SetForeImage(std::u16string_view image) { m_foreImage = image; Invalidate(); }
    const std::u16string& GetForeImage() const { return m_foreImage; }
    void SetHorizontal(bool on) { m_horizontal = on; }
    bool IsHorizontal() const { return m_horizontal; }
    // Stored as given; drawing clamps the value to the range.
    void SetMinValue(int value) { m_min = value; }
    void SetMaxValue(int value) { m_max = value; }
    void SetValue(int value) { m_value = value; }
    int GetMinValue() const { return m_min; }
    int GetMaxValue() const { return m_max; }
    int GetValue() const { return m_value; }

protected:
    // Clamps the stored range and value (a range of min >= max becomes
    // min, min + 1), then draws the filled part of the foreground image.
    void PaintStatusImage(platform::Painter& painter) override;
    void ClampToRange();
    // The filled part relative to the control: from the left, or from the
    // bottom of a vertical bar.
    UIRect FilledRect() const;

private:
    std::u16string m_foreImage;
    bool m_horizontal = true;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
};

}  // namespace SkinUI
