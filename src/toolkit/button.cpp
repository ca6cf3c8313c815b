#include "toolkit/button.h"

#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {

void* Button::GetInterface(std::wstring_view name)
{
    return name == L"Button" ? this : Label::GetInterface(name);
}

void Button::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    auto colour = [&](uint32_t& target) {
        if (auto c = ParseColour(value)) target = *c;
    };
    if (name == L"normalimage")
        m_normalImage = value;
    else if (name == L"hotimage")
        m_hotImage = value;
    else if (name == L"pushedimage")
        m_pushedImage = value;
    else if (name == L"disabledimage")
        m_disabledImage = value;
    else if (name == L"focusedimage")
        m_focusedImage = value;
    else if (name == L"hottextcolor")
        colour(m_hotTextColor);
    else if (name == L"pushedtextcolor")
        colour(m_pushedTextColor);
    else if (name == L"hotbkcolor")
        colour(m_hotBkColor);
    else if (name == L"pushedbkcolor")
        colour(m_pushedBkColor);
    else
        Label::SetAttribute(name, value);
}

void Button::SetNormalImage(std::wstring image)
{
    m_normalImage = std::move(image);
    Invalidate();
}

void Button::DoEvent(Event& event)
{
    switch (event.type) {
    case EventType::MouseEnter:
        m_hot = true;
        Invalidate();
        break;
    case EventType::MouseLeave:
        m_hot = false;
        Invalidate();
        break;
    case EventType::ButtonDown:
        m_captured = m_pushed = true;
        Invalidate();
        break;
    case EventType::MouseMove:
        if (m_captured && m_pushed != m_pos.Contains(event.mouse)) {
            m_pushed = !m_pushed;
            Invalidate();
        }
        break;
    case EventType::ButtonUp: {
        bool inside = m_captured && m_pos.Contains(event.mouse);
        m_captured = m_pushed = false;
        Invalidate();
        if (inside && m_enabled) Activate();
        break;
    }
    case EventType::KillFocus:
        Invalidate();
        break;
    default:
        Label::DoEvent(event);
    }
}

void Button::Activate()
{
    if (m_manager) m_manager->SendNotify(this, L"click");
}

void Button::PaintBkColor(Painter& painter)
{
    uint32_t colour = m_bkColor;
    if (m_enabled && m_pushed && m_pushedBkColor)
        colour = m_pushedBkColor;
    else if (m_enabled && m_hot && m_hotBkColor)
        colour = m_hotBkColor;
    painter.FillRect(m_pos, colour);
}

void Button::PaintStatusImage(Painter& painter)
{
    if (!m_enabled) {
        if (DrawImage(painter, m_disabledImage)) return;
    } else if (m_pushed) {
        if (DrawImage(painter, m_pushedImage)) return;
    } else if (m_hot) {
        if (DrawImage(painter, m_hotImage)) return;
    }
    DrawImage(painter, m_normalImage);
    if (m_focused) DrawImage(painter, m_focusedImage);
}

uint32_t Button::CurrentTextColor() const
{
    if (m_enabled && m_pushed && m_pushedTextColor) return m_pushedTextColor;
    if (m_enabled && m_hot && m_hotTextColor) return m_hotTextColor;
    return Label::CurrentTextColor();
}

}  // namespace toolkit
