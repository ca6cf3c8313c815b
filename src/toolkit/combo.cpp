#include "toolkit/combo.h"

#include "toolkit/paint_manager.h"
#include "toolkit/text.h"

namespace toolkit {

void* Combo::GetInterface(std::wstring_view name)
{
    return name == L"Combo" ? this : Button::GetInterface(name);
}

void Combo::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"selectedid")
        m_curSel = ToInt(value);
    else
        Button::SetAttribute(name, value);
}

std::wstring Combo::GetText() const
{
    if (m_curSel >= 0 && static_cast<size_t>(m_curSel) < m_items.size())
        return m_items[static_cast<size_t>(m_curSel)];
    return m_text;
}

void Combo::Activate()
{
    Button::Activate();
    if (!m_items.empty()) SelectItem(static_cast<int>((m_curSel + 1) % static_cast<int>(m_items.size())));
}

bool Combo::SelectItem(int index, bool notify)
{
    if (index < 0 || static_cast<size_t>(index) >= m_items.size()) return false;
    if (index == m_curSel) return true;
    int old = m_curSel;
    m_curSel = index;
    Invalidate();
    if (notify && m_manager) m_manager->SendNotify(this, L"itemselect", static_cast<uintptr_t>(index), old);
    return true;
}

}  // namespace toolkit
