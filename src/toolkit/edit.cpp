#include "toolkit/edit.h"

#include <algorithm>

#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {

void* Edit::GetInterface(std::wstring_view name)
{
    return name == L"Edit" ? this : Label::GetInterface(name);
}

void Edit::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"readonly")
        m_readOnly = IsTrue(value);
    else if (name == L"maxchar")
        m_maxChar = static_cast<size_t>(std::max(0, ToInt(value)));
    else if (name == L"normalimage")
        m_normalImage = value;
    else if (name == L"hotimage")
        m_hotImage = value;
    else if (name == L"focusedimage")
        m_focusedImage = value;
    else if (name == L"disabledimage")
        m_disabledImage = value;
    else if (name == L"text") {
        Label::SetAttribute(name, value);
        m_caret = m_text.size();
    } else
        Label::SetAttribute(name, value);
}

void Edit::SetText(std::wstring text)
{
    Label::SetText(std::move(text));
    m_caret = m_text.size();
    m_scroll = 0;
}

void Edit::Changed()
{
    Invalidate();
    if (m_manager) m_manager->SendNotify(this, L"textchanged");
}

void Edit::Insert(char32_t c)
{
    if (m_readOnly || c < 0x20 || c == 0x7F || m_text.size() >= m_maxChar) return;
    m_text.insert(m_caret, 1, static_cast<wchar_t>(c));
    ++m_caret;
    Changed();
}

void Edit::OnKey(uint32_t key)
{
    size_t old = m_caret;
    switch (key) {
    case kKeyLeft: m_caret = m_caret > 0 ? m_caret - 1 : 0; break;
    case kKeyRight: m_caret = std::min(m_text.size(), m_caret + 1); break;
    case kKeyHome: m_caret = 0; break;
    case kKeyEnd: m_caret = m_text.size(); break;
    case kKeyBack:
        if (!m_readOnly && m_caret > 0) {
            m_text.erase(--m_caret, 1);
            Changed();
        }
        return;
    case kKeyDelete:
        if (!m_readOnly && m_caret < m_text.size()) {
            m_text.erase(m_caret, 1);
            Changed();
        }
        return;
    default: return;
    }
    if (old != m_caret) Invalidate();
}

void Edit::DoEvent(Event& event)
{
    switch (event.type) {
    case EventType::MouseEnter: m_hot = true; Invalidate(); break;
    case EventType::MouseLeave: m_hot = false; Invalidate(); break;
    case EventType::ButtonDown:
        m_caret = CaretFromX(event.mouse.x);
        Invalidate();
        break;
    case EventType::Char: Insert(event.key); break;
    case EventType::KeyDown: OnKey(event.key); break;
    case EventType::SetFocus:
    case EventType::KillFocus: Invalidate(); break;
    default: Label::DoEvent(event);
    }
}

int Edit::PrefixWidth(size_t count) const
{
    if (count == 0 || !m_manager) return 0;
    return Painter::MeasureText(std::wstring_view(m_text).substr(0, count), m_manager->GetFontInfo(m_font),
                                kTextSingleLine)
        .cx;
}

size_t Edit::CaretFromX(int x) const
{
    int target = x - m_pos.left - m_textPadding.left + m_scroll;
    size_t best = 0;
    for (size_t i = 1; i <= m_text.size(); ++i) {
        int w = PrefixWidth(i);
        int prev = PrefixWidth(i - 1);
        if (target >= (prev + w) / 2) best = i;
    }
    return best;
}

void Edit::PaintStatusImage(Painter& painter)
{
    if (!m_enabled && DrawImage(painter, m_disabledImage)) return;
    if (m_focused && DrawImage(painter, m_focusedImage)) return;
    if (m_hot && DrawImage(painter, m_hotImage)) return;
    DrawImage(painter, m_normalImage);
}

void Edit::PaintText(Painter& painter)
{
    if (!m_manager) return;
    Rect rc = m_pos.Deflate(m_textPadding);
    // Keep the caret inside the box by sliding the text sideways.
    int caretX = PrefixWidth(m_caret);
    if (caretX - m_scroll > rc.Width() - 1) m_scroll = caretX - rc.Width() + 1;
    if (caretX < m_scroll) m_scroll = caretX;
    const FontInfo& font = m_manager->GetFontInfo(m_font);
    painter.PushClip(rc);
    Rect textRc{rc.left - m_scroll, rc.top, rc.right + 4096, rc.bottom};
    unsigned style = (m_textStyle & ~(kTextCenter | kTextRight)) | kTextNoEllipsis;
    painter.DrawText(textRc, m_text, font, CurrentTextColor(), style);
    if (m_focused && m_enabled) {
        int h = std::min(rc.Height(), font.size + 4);
        int top = rc.top + (rc.Height() - h) / 2;
        int x = rc.left + caretX - m_scroll;
        painter.FillRect({x, top, x + 1, top + h}, CurrentTextColor());
    }
    painter.PopClip();
}

}  // namespace toolkit
