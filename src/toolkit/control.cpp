#include "toolkit/control.h"

#include "toolkit/image_desc.h"
#include "toolkit/paint_manager.h"
#include "toolkit/painter.h"
#include "toolkit/text.h"

namespace toolkit {

Control::~Control()
{
    if (m_manager) m_manager->ForgetControl(this);
}

void* Control::GetInterface(std::wstring_view name)
{
    return name == L"Control" ? this : nullptr;
}

void Control::SetText(std::wstring text)
{
    if (m_text == text) return;
    m_text = std::move(text);
    Invalidate();
}

void Control::SetVisible(bool visible)
{
    if (m_visible == visible) return;
    m_visible = visible;
    if (!visible && m_manager) m_manager->ForgetInput(this);
    NeedParentUpdate();
}

void Control::SetEnabled(bool enabled)
{
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    if (!enabled && m_manager) m_manager->ForgetInput(this);
    Invalidate();
}

void Control::SetFocus()
{
    if (m_manager) m_manager->SetFocus(this);
}

void Control::SetBkImage(std::wstring image)
{
    if (m_bkImage == image) return;
    m_bkImage = std::move(image);
    Invalidate();
}

void Control::SetBkColor(uint32_t argb)
{
    m_bkColor = argb;
    Invalidate();
}

void Control::SetFixedWidth(int cx)
{
    cx = std::min(cx, kMaxCoordinate);
    if (cx < 0 || cx == m_fixedWidth) return;
    m_fixedWidth = cx;
    NeedParentUpdate();
}

void Control::SetFixedHeight(int cy)
{
    cy = std::min(cy, kMaxCoordinate);
    if (cy < 0 || cy == m_fixedHeight) return;
    m_fixedHeight = cy;
    NeedParentUpdate();
}

void Control::SetPadding(const Rect& padding)
{
    m_padding = padding;
    NeedParentUpdate();
}

void Control::SetFont(int id)
{
    m_font = id;
    Invalidate();
}

void Control::SetTextStyle(unsigned style)
{
    m_textStyle = style;
    Invalidate();
}

void Control::SetPos(const Rect& rc)
{
    Rect old = m_pos;
    m_pos = rc;
    if (m_manager && !(old == rc)) {
        m_manager->Invalidate(old);
        m_manager->Invalidate(rc);
    }
}

void Control::SetManager(PaintManager* manager, Control* parent)
{
    m_manager = manager;
    m_parent = parent;
}

std::optional<Rect> Control::GetFloatPos() const
{
    return m_sizeOnlyPos ? std::nullopt : m_floatPos;
}

int Control::GetFixedWidth() const
{
    if (m_fixedWidth == 0 && m_sizeOnlyPos && m_floatPos) return std::max(0, m_floatPos->Width());
    return m_fixedWidth;
}

int Control::GetFixedHeight() const
{
    if (m_fixedHeight == 0 && m_sizeOnlyPos && m_floatPos) return std::max(0, m_floatPos->Height());
    return m_fixedHeight;
}

Control* Control::FindControl(const std::function<bool(Control*)>& match)
{
    return match(this) ? this : nullptr;
}

Control* Control::HitTest(Point p)
{
    return m_visible && m_pos.Contains(p) ? this : nullptr;
}

void Control::SetAttribute(std::wstring_view name, std::wstring_view value)
{
    auto rect = [&] {
        auto v = ParseIntList(value, 4);
        return v ? std::optional<Rect>(Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]}) : std::nullopt;
    };
    auto colour = [&](uint32_t& target) {
        if (auto c = ParseColour(value)) target = *c;
    };
    if (name == L"name") {
        m_name = value;
    } else if (name == L"text") {
        m_text = value;
    } else if (name == L"userdata") {
        m_userData = value;
    } else if (name == L"width") {
        m_fixedWidth = std::clamp(ToInt(value), 0, kMaxCoordinate);
    } else if (name == L"height") {
        m_fixedHeight = std::clamp(ToInt(value), 0, kMaxCoordinate);
    } else if (name == L"pos") {
        m_floatPos = rect();
    } else if (name == L"float") {
        m_sizeOnlyPos = !IsTrue(value);
    } else if (name == L"padding") {
        m_padding = rect().value_or(m_padding);
    } else if (name == L"visible") {
        m_visible = IsTrue(value);
    } else if (name == L"enabled") {
        m_enabled = IsTrue(value);
    } else if (name == L"font") {
        m_font = ToInt(value);
    } else if (name == L"bkcolor") {
        colour(m_bkColor);
    } else if (name == L"bkimage") {
        m_bkImage = value;
    } else if (name == L"bordersize") {
        m_borderSize = std::clamp(ToInt(value), 0, kMaxCoordinate);
    } else if (name == L"bordercolor") {
        colour(m_borderColor);
    } else if (name == L"borderround") {
        if (auto v = ParseIntList(value, 2)) m_borderRound = {(*v)[0], (*v)[1]};
    }
    // Anything else is outside the vocabulary and ignored on purpose.
}

void Control::DoEvent(Event& event)
{
    if (event.type == EventType::Timer && m_manager)
        m_manager->SendNotify(this, L"timer", event.wParam, 0);
}

void Control::DoPaint(Painter& painter, const Rect& dirty)
{
    if (m_pos.Intersect(dirty).Empty()) return;
    PaintContent(painter);
    PaintBorder(painter);
}

void Control::PaintContent(Painter& painter)
{
    bool round = m_borderRound.cx > 0 && m_borderRound.cy > 0;
    if (round) painter.PushRoundClip(m_pos, m_borderRound.cx, m_borderRound.cy);
    PaintBkColor(painter);
    PaintBkImage(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    if (round) painter.PopClip();
}

void Control::PaintBkColor(Painter& painter) { painter.FillRect(m_pos, m_bkColor); }

void Control::PaintBkImage(Painter& painter) { DrawImage(painter, m_bkImage); }

void Control::PaintBorder(Painter& painter)
{
    painter.DrawBorder(m_pos, m_borderSize, m_borderColor, m_borderRound.cx, m_borderRound.cy);
}

bool Control::DrawImage(Painter& painter, const std::wstring& description)
{
    if (description.empty() || !m_manager) return false;
    auto desc = ParseImageDesc(description);
    if (!desc) return false;
    cairo_surface_t* image = m_manager->GetImage(desc->file, desc->mask);
    if (!image) return false;
    painter.DrawImage(image, m_pos, *desc);
    return true;
}

void Control::Invalidate()
{
    if (m_manager) m_manager->Invalidate(m_pos);
}

void Control::NeedParentUpdate()
{
    if (m_manager) m_manager->NeedUpdate();
}

}  // namespace toolkit
