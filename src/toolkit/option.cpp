#include "toolkit/option.h"

#include "toolkit/container.h"
#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {

void* Option::GetInterface(std::wstring_view name)
{
    return name == L"Option" ? this : Button::GetInterface(name);
}

void Option::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"selected")
        m_selected = IsTrue(value);
    else if (name == L"group")
        m_group = value;
    else if (name == L"selectedimage")
        m_selectedImage = value;
    else if (name == L"selectedhotimage")
        m_selectedHotImage = value;
    else if (name == L"selectedtextcolor") {
        if (auto c = ParseColour(value)) m_selectedTextColor = *c;
    } else if (name == L"selectedbkcolor") {
        if (auto c = ParseColour(value)) m_selectedBkColor = *c;
    } else
        Button::SetAttribute(name, value);
}

void Option::Activate()
{
    Button::Activate();
    Selected(m_group.empty() ? !m_selected : true);
}

void Option::Selected(bool selected, bool notify)
{
    if (m_selected == selected) return;
    m_selected = selected;
    if (selected && !m_group.empty() && m_manager && m_manager->GetRoot()) {
        // Only one option of a group is selected at a time.
        m_manager->GetRoot()->FindControl([&](Control* c) {
            auto* other = static_cast<Option*>(c->GetInterface(L"Option"));
            if (other && other != this && other->m_group == m_group) other->Selected(false, notify);
            return false;
        });
    }
    Invalidate();
    if (notify && m_manager) m_manager->SendNotify(this, L"selectchanged");
}

void Option::PaintBkColor(Painter& painter)
{
    if (m_selected && m_selectedBkColor)
        painter.FillRect(m_pos, m_selectedBkColor);
    else
        Button::PaintBkColor(painter);
}

void Option::PaintStatusImage(Painter& painter)
{
    if (m_selected) {
        if (m_hot && m_enabled && DrawImage(painter, m_selectedHotImage)) return;
        if (DrawImage(painter, m_selectedImage)) return;
    }
    Button::PaintStatusImage(painter);
}

uint32_t Option::CurrentTextColor() const
{
    if (m_selected && m_enabled && m_selectedTextColor) return m_selectedTextColor;
    return Button::CurrentTextColor();
}

void* CheckBox::GetInterface(std::wstring_view name)
{
    return name == L"CheckBox" ? this : Option::GetInterface(name);
}

void CheckBox::Activate()
{
    Button::Activate();
    Selected(!m_selected);
}

}  // namespace toolkit
