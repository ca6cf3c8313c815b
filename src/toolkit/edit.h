#pragma once

#include "toolkit/label.h"

namespace toolkit {

// One-line text entry with a caret.
class Edit : public Label {
public:
    Edit() { m_textStyle = kDefaultStyle | kTextNoEllipsis; }
    std::wstring_view GetClass() const override { return L"Edit"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    bool IsClickable() const override { return true; }
    bool IsFocusable() const override { return true; }
    void DoEvent(Event& event) override;
    void SetText(std::wstring text) override;

    size_t GetCaret() const { return m_caret; }
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }

protected:
    void PaintStatusImage(Painter& painter) override;
    void PaintText(Painter& painter) override;

private:
    void Insert(char32_t c);
    void OnKey(uint32_t key);
    void Changed();
    size_t CaretFromX(int x) const;
    int PrefixWidth(size_t count) const;

    std::wstring m_normalImage;
    std::wstring m_hotImage;
    std::wstring m_focusedImage;
    std::wstring m_disabledImage;
    size_t m_caret = 0;
    size_t m_maxChar = 255;
    int m_scroll = 0;  // pixels of text hidden on the left
    bool m_readOnly = false;
    bool m_hot = false;
};

}  // namespace toolkit
