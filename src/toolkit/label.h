#pragma once

#include "toolkit/control.h"

namespace toolkit {

// Text and/or image.
class Label : public Control {
public:
    Label() { m_textStyle = kDefaultStyle; }
    std::wstring_view GetClass() const override { return L"Label"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;

    const Rect& GetTextPadding() const { return m_textPadding; }
    void SetTextPadding(const Rect& padding);
    uint32_t GetTextColor() const { return m_textColor; }
    void SetTextColor(uint32_t argb);

    static constexpr unsigned kDefaultStyle = 0x4 | 0x20;  // vertically centred, one line

protected:
    void PaintText(Painter& painter) override;
    // The colour for the current state; the base uses the enabled state only.
    virtual uint32_t CurrentTextColor() const;

    Rect m_textPadding;
    uint32_t m_textColor = 0xFF000000;
    uint32_t m_disabledTextColor = 0xFFA7A6AA;
};

}  // namespace toolkit
