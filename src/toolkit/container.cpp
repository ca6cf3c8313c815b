#include "toolkit/container.h"

#include <algorithm>

#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {
namespace {

// Keeps positions of absurd layouts (huge sizes, thousands of children) in a
// range where further arithmetic cannot overflow.
int ClampCoord(long long v) { return static_cast<int>(std::clamp(v, -(1ll << 24), 1ll << 24)); }

}  // namespace

void* Container::GetInterface(std::wstring_view name)
{
    return name == L"Container" ? this : Control::GetInterface(name);
}

void Container::Add(std::unique_ptr<Control> child)
{
    if (!child) return;
    child->SetManager(m_manager, this);
    m_items.push_back(std::move(child));
    NeedParentUpdate();
}

int Container::GetItemIndex(const Control* child) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == child) return static_cast<int>(i);
    return -1;
}

void Container::SetManager(PaintManager* manager, Control* parent)
{
    Control::SetManager(manager, parent);
    for (auto& item : m_items) item->SetManager(manager, this);
}

Control* Container::FindControl(const std::function<bool(Control*)>& match)
{
    if (match(this)) return this;
    for (auto& item : m_items)
        if (Control* found = item->FindControl(match)) return found;
    return nullptr;
}

Control* Container::HitTest(Point p)
{
    if (!m_visible || !m_pos.Contains(p)) return nullptr;
    // Later children paint over earlier ones, so they are asked first.
    for (size_t i = m_items.size(); i-- > 0;)
        if (IsChildShown(i))
            if (Control* hit = m_items[i]->HitTest(p)) return hit;
    return this;
}

void Container::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"inset") {
        if (auto v = ParseIntList(value, 4)) m_inset = {(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
    } else if (name == L"childpadding") {
        m_childPadding = std::clamp(ToInt(value), 0, kMaxCoordinate);
    } else {
        Control::SetAttribute(name, value);
    }
}

void Container::SetPos(const Rect& rc)
{
    Control::SetPos(rc);
    LayoutChildren(rc.Deflate(m_inset));
}

bool Container::PlaceFloating(Control& child)
{
    auto pos = child.GetFloatPos();
    if (!pos) return false;
    child.SetPos(pos->Offset(m_pos.left, m_pos.top));
    return true;
}

void Container::LayoutChildren(const Rect& inner)
{
    for (auto& item : m_items) {
        if (PlaceFloating(*item)) continue;
        Rect rc = inner.Deflate(item->GetPadding());
        if (item->GetFixedWidth() > 0) rc.right = std::min(rc.right, rc.left + item->GetFixedWidth());
        if (item->GetFixedHeight() > 0) rc.bottom = std::min(rc.bottom, rc.top + item->GetFixedHeight());
        item->SetPos(rc);
    }
}

void Container::DoPaint(Painter& painter, const Rect& dirty)
{
    Rect clip = m_pos.Intersect(dirty);
    if (clip.Empty()) return;
    PaintContent(painter);
    painter.PushClip(clip);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (IsChildShown(i)) m_items[i]->DoPaint(painter, clip);
    painter.PopClip();
    PaintBorder(painter);
}

void* VerticalLayout::GetInterface(std::wstring_view name)
{
    return name == L"VerticalLayout" ? this : Container::GetInterface(name);
}

// Fixed sizes first; the remaining length is shared evenly by the children
// without one, the last of them taking the rounding remainder. The cross axis
// fills the parent unless the child has a fixed size there.
void Container::Stack(const Rect& inner, bool vertical)
{
    auto length = [&](const Control& c) { return vertical ? c.GetFixedHeight() : c.GetFixedWidth(); };
    auto breadth = [&](const Control& c) { return vertical ? c.GetFixedWidth() : c.GetFixedHeight(); };
    auto leading = [&](const Rect& r) { return vertical ? r.top : r.left; };
    auto trailing = [&](const Rect& r) { return vertical ? r.bottom : r.right; };
    auto crossLead = [&](const Rect& r) { return vertical ? r.left : r.top; };
    auto crossTrail = [&](const Rect& r) { return vertical ? r.right : r.bottom; };
    long long used = 0;
    int flexible = 0, stacked = 0;
    for (auto& item : m_items) {
        if (!item->IsVisible() || item->GetFloatPos()) continue;
        used += leading(item->GetPadding()) + trailing(item->GetPadding()) + length(*item);
        if (length(*item) == 0) ++flexible;
        if (stacked++ > 0) used += m_childPadding;
    }
    int remaining = ClampCoord(std::max(0ll, (trailing(inner) - leading(inner)) - used));
    long long at = leading(inner);
    for (auto& item : m_items) {
        if (!item->IsVisible() || PlaceFloating(*item)) continue;
        const Rect& pad = item->GetPadding();
        int size = length(*item);
        if (size == 0) {
            size = flexible > 1 ? remaining / flexible : remaining;
            remaining -= size;
            --flexible;
        }
        int cross = breadth(*item) > 0 ? breadth(*item)
                                       : crossTrail(inner) - crossLead(inner) - crossLead(pad) - crossTrail(pad);
        at += leading(pad);
        int from = ClampCoord(at), to = ClampCoord(at + size);
        int crossFrom = crossLead(inner) + crossLead(pad), crossTo = crossFrom + std::max(0, cross);
        item->SetPos(vertical ? Rect{crossFrom, from, crossTo, to} : Rect{from, crossFrom, to, crossTo});
        at = ClampCoord(at + size + trailing(pad) + m_childPadding);
    }
}

void VerticalLayout::LayoutChildren(const Rect& inner) { Stack(inner, true); }

void* HorizontalLayout::GetInterface(std::wstring_view name)
{
    return name == L"HorizontalLayout" ? this : Container::GetInterface(name);
}

void HorizontalLayout::LayoutChildren(const Rect& inner) { Stack(inner, false); }

void* TabLayout::GetInterface(std::wstring_view name)
{
    return name == L"TabLayout" ? this : Container::GetInterface(name);
}

void TabLayout::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    if (name == L"selectedid")
        m_curSel = std::max(0, ToInt(value));
    else
        Container::SetAttribute(name, value);
}

bool TabLayout::IsChildShown(size_t index) const
{
    return static_cast<int>(index) == m_curSel && m_items[index]->IsVisible();
}

bool TabLayout::SelectItem(int index, bool notify)
{
    if (index < 0 || static_cast<size_t>(index) >= m_items.size()) return false;
    if (index == m_curSel) return true;
    int old = m_curSel;
    m_curSel = index;
    if (m_manager) {
        m_manager->ForgetInput(m_items[static_cast<size_t>(old)].get());
        m_manager->Invalidate(m_pos);
        if (notify) m_manager->SendNotify(this, L"tabselect", static_cast<uintptr_t>(index), old);
    }
    return true;
}

}  // namespace toolkit
