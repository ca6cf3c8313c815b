#pragma once

#include "toolkit/button.h"

namespace toolkit {

// A button with a selected state. Options sharing a "group" behave as radio
// buttons; a check box toggles on each click.
class Option : public Button {
public:
    Option() { m_textStyle = kDefaultStyle; }
    std::wstring_view GetClass() const override { return L"Option"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void Activate() override;

    bool IsSelected() const { return m_selected; }
    // Changes the state; "selectchanged" goes out only when asked for and
    // only when the state really changed.
    virtual void Selected(bool selected, bool notify = true);
    const std::wstring& GetGroup() const { return m_group; }

protected:
    void PaintBkColor(Painter& painter) override;
    void PaintStatusImage(Painter& painter) override;
    uint32_t CurrentTextColor() const override;

    std::wstring m_group;
    std::wstring m_selectedImage;
    std::wstring m_selectedHotImage;
    uint32_t m_selectedTextColor = 0;
    uint32_t m_selectedBkColor = 0;
    bool m_selected = false;
};

class CheckBox : public Option {
public:
    std::wstring_view GetClass() const override { return L"CheckBox"; }
    void* GetInterface(std::wstring_view name) override;
    void Activate() override;

    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check, bool notify = true) { Selected(check, notify); }
};

}  // namespace toolkit
