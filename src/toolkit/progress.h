#pragma once

#include "toolkit/label.h"

namespace toolkit {

// Horizontal bar: the track is the background image, the fill ("foreimage")
// is uncovered from the left in proportion to the value.
class Progress : public Label {
public:
    Progress() { m_textStyle = kDefaultStyle | kTextCenter; }
    std::wstring_view GetClass() const override { return L"Progress"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;

    int GetValue() const { return m_value; }
    void SetValue(int value);
    int GetMinValue() const { return m_min; }
    int GetMaxValue() const { return m_max; }
    const std::wstring& GetForeImage() const { return m_foreImage; }
    void SetForeImage(std::wstring image);

protected:
    void PaintStatusImage(Painter& painter) override;

private:
    std::wstring m_foreImage;
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
};

}  // namespace toolkit
