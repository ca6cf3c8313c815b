#include "toolkit/progress.h"

#include <algorithm>

#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {

void* Progress::GetInterface(std::wstring_view name)
{
    return name == L"Progress" ? this : Label::GetInterface(name);
}

void Progress::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"foreimage")
        m_foreImage = value;
    else if (name == L"min")
        m_min = ToInt(value);
    else if (name == L"max")
        m_max = ToInt(value);
    else if (name == L"value")
        m_value = ToInt(value);
    else
        Label::SetAttribute(name, value);
}

void Progress::SetValue(int value)
{
    value = std::clamp(value, m_min, std::max(m_min, m_max));
    if (value == m_value) return;
    m_value = value;
    Invalidate();
}

void Progress::SetForeImage(std::wstring image)
{
    m_foreImage = std::move(image);
    Invalidate();
}

void Progress::PaintStatusImage(Painter& painter)
{
    if (m_max <= m_min || m_foreImage.empty()) return;
    long long span = static_cast<long long>(m_max) - m_min;
    long long done = std::clamp(static_cast<long long>(m_value) - m_min, 0ll, span);
    int fill = static_cast<int>(m_pos.Width() * done / span);
    if (fill <= 0) return;
    painter.PushClip({m_pos.left, m_pos.top, m_pos.left + fill, m_pos.bottom});
    DrawImage(painter, m_foreImage);
    painter.PopClip();
}

}  // namespace toolkit
