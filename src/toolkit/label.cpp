#include "toolkit/label.h"

#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {

void* Label::GetInterface(std::wstring_view name)
{
    return name == L"Label" ? this : Control::GetInterface(name);
}

void Label::SetTextPadding(const Rect& padding)
{
    m_textPadding = padding;
    Invalidate();
}

void Label::SetTextColor(uint32_t argb)
{
    m_textColor = argb;
    Invalidate();
}

void Label::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"align") {
        m_textStyle &= ~(kTextCenter | kTextRight);
        if (value == L"center")
            m_textStyle |= kTextCenter;
        else if (value == L"right")
            m_textStyle |= kTextRight;
    } else if (name == L"valign") {
        m_textStyle &= ~(kTextVCenter | kTextBottom);
        if (value == L"center" || value == L"vcenter")
            m_textStyle |= kTextVCenter;
        else if (value == L"bottom")
            m_textStyle |= kTextBottom;
    } else if (name == L"multiline") {
        if (IsTrue(value)) {
            m_textStyle &= ~kTextSingleLine;
            m_textStyle |= kTextWordBreak;
        } else {
            m_textStyle &= ~kTextWordBreak;
            m_textStyle |= kTextSingleLine;
        }
    } else if (name == L"endellipsis") {
        if (IsTrue(value)) m_textStyle |= kTextEndEllipsis;
    } else if (name == L"textcolor") {
        if (auto c = ParseColour(value)) m_textColor = *c;
    } else if (name == L"disabledtextcolor") {
        if (auto c = ParseColour(value)) m_disabledTextColor = *c;
    } else if (name == L"textpadding") {
        if (auto v = ParseIntList(value, 4)) m_textPadding = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    } else {
        Control::SetAttribute(name, value);
    }
}

uint32_t Label::CurrentTextColor() const { return m_enabled ? m_textColor : m_disabledTextColor; }

void Label::PaintText(Painter& painter)
{
    std::wstring text = GetText();
    if (text.empty() || !m_manager) return;
    painter.DrawText(m_pos.Deflate(m_textPadding), text, m_manager->GetFontInfo(m_font), CurrentTextColor(),
                     m_textStyle);
}

}  // namespace toolkit
