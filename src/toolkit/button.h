#pragma once

#include "toolkit/label.h"

namespace toolkit {

// A label that takes clicks and shows state images: normal, hot (mouse
// over), pushed, disabled and focused.
class Button : public Label {
public:
    Button() { m_textStyle = kDefaultStyle | kTextCenter; }
    std::wstring_view GetClass() const override { return L"Button"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    bool IsClickable() const override { return true; }
    bool IsFocusable() const override { return true; }
    void DoEvent(Event& event) override;

    // What a completed click does; the base reports "click".
    virtual void Activate();

    bool IsHot() const { return m_hot; }
    bool IsPushed() const { return m_pushed; }
    void SetNormalImage(std::wstring image);

protected:
    void PaintBkColor(Painter& painter) override;
    void PaintStatusImage(Painter& painter) override;
    uint32_t CurrentTextColor() const override;

    std::wstring m_normalImage;
    std::wstring m_hotImage;
    std::wstring m_pushedImage;
    std::wstring m_disabledImage;
    std::wstring m_focusedImage;
    uint32_t m_hotTextColor = 0;
    uint32_t m_pushedTextColor = 0;
    uint32_t m_hotBkColor = 0;
    uint32_t m_pushedBkColor = 0;
    bool m_hot = false;
    bool m_pushed = false;
    bool m_captured = false;
};

}  // namespace toolkit
