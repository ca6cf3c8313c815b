#include "toolkit/paint_manager.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/Paths.h"
#include "toolkit/container.h"
#include "toolkit/skin_archive.h"
#include "toolkit/text.h"

namespace toolkit {
namespace {

// The longest period a timer may have (about 24.8 days); longer requests,
// such as an all-bits-set delay, are shortened to it.
constexpr uint32_t kMaxTimerPeriod = 0x7FFFFFFF;
constexpr uint32_t kMinTimerPeriod = 10;

bool IsWithin(const Control* c, const Control* ancestor)
{
    for (; c; c = c->GetParent())
        if (c == ancestor) return true;
    return false;
}

// Shown means the control and all its ancestors are visible, and every tab
// on the way has it on its current page.
bool IsShown(Control* c)
{
    for (; c; c = c->GetParent()) {
        if (!c->IsVisible()) return false;
        auto* tab = c->GetParent() ? static_cast<TabLayout*>(c->GetParent()->GetInterface(L"TabLayout")) : nullptr;
        if (tab && tab->GetItemIndex(c) != tab->GetCurSel()) return false;
    }
    return true;
}

}  // namespace

const std::wstring* WindowInfo::Attribute(const std::wstring& name) const
{
    auto it = attributes.find(name);
    return it == attributes.end() ? nullptr : &it->second;
}

PaintManager::PaintManager() = default;

PaintManager::~PaintManager()
{
    // Controls report their own destruction; nothing may point back here.
    auto root = std::move(m_root);
    root.reset();
}

uint64_t PaintManager::Now() const
{
    if (m_clock) return m_clock();
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void PaintManager::SetArchive(std::shared_ptr<const SkinArchive> archive)
{
    m_archive = archive;
    m_images.SetArchive(std::move(archive));
}

void PaintManager::AddFont(int id, FontInfo font, bool isDefault)
{
    if (isDefault) m_defaultFont = font;
    m_fonts[id] = std::move(font);
}

const FontInfo& PaintManager::GetFontInfo(int id) const
{
    auto it = m_fonts.find(id);
    return it == m_fonts.end() ? m_defaultFont : it->second;
}

Size PaintManager::MeasureText(const std::wstring& text, int font, unsigned style) const
{
    return Painter::MeasureText(text, GetFontInfo(font), style);
}

cairo_surface_t* PaintManager::GetImage(const std::wstring& name, std::optional<uint32_t> mask)
{
    return m_images.Get(name, mask);
}

void PaintManager::AttachRoot(std::unique_ptr<Control> root)
{
    m_hover = m_capture = m_focus = nullptr;
    m_root = std::move(root);
    if (!m_root) return;
    m_root->SetManager(this, nullptr);
    if (m_client.cx == 0 && m_client.cy == 0) m_client = m_info.size;
    Layout();
    m_root->FindControl([](Control* c) {
        c->DoInit();
        return false;
    });
}

Control* PaintManager::FindControl(std::wstring_view name) const
{
    if (!m_root || name.empty()) return nullptr;
    return m_root->FindControl([&](Control* c) { return c->GetName() == name; });
}

Control* PaintManager::FindControlAt(Point p)
{
    if (m_needUpdate) Layout();
    return m_root ? m_root->HitTest(p) : nullptr;
}

void PaintManager::SetClientSize(Size size)
{
    m_client = size;
    NeedUpdate();
}

void PaintManager::AddNotifier(INotifyListener* listener)
{
    if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void PaintManager::RemoveNotifier(INotifyListener* listener) { std::erase(m_listeners, listener); }

void PaintManager::SendNotify(Control* sender, std::wstring type, uintptr_t wParam, intptr_t lParam, bool async)
{
    Notification msg;
    msg.type = std::move(type);
    msg.sender = sender;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(std::move(msg), async);
}

void PaintManager::SendNotify(Notification msg, bool async)
{
    if (async) {
        // May run on any thread: only the queue and the wake-up are touched.
        {
            std::lock_guard lock(m_asyncMutex);
            m_async.push_back(std::move(msg));
        }
        if (m_wake) m_wake();
        return;
    }
    msg.timestamp = Now();
    // A copy: a listener may add or remove listeners while being told.
    auto listeners = m_listeners;
    for (auto* l : listeners) l->Notify(msg);
}

void PaintManager::DrainAsyncNotify()
{
    std::vector<Notification> pending;
    {
        std::lock_guard lock(m_asyncMutex);
        pending.swap(m_async);
    }
    for (auto& msg : pending) SendNotify(std::move(msg), false);
}

bool PaintManager::SetTimer(Control* control, unsigned id, uint32_t elapse)
{
    if (!control) return false;
    if (HasTimer(control, id)) return true;
    uint32_t period = std::clamp(elapse, kMinTimerPeriod, kMaxTimerPeriod);
    m_timers.push_back({control, id, period, Now() + period});
    return true;
}

bool PaintManager::KillTimer(Control* control, unsigned id)
{
    return std::erase_if(m_timers, [&](const Timer& t) { return t.control == control && t.id == id; }) > 0;
}

void PaintManager::KillTimers(Control* control)
{
    std::erase_if(m_timers, [&](const Timer& t) { return t.control == control; });
}

bool PaintManager::HasTimer(const Control* control, unsigned id) const
{
    return std::any_of(m_timers.begin(), m_timers.end(),
                       [&](const Timer& t) { return t.control == control && t.id == id; });
}

std::optional<uint64_t> PaintManager::NextTimerDue() const
{
    std::optional<uint64_t> next;
    for (const auto& t : m_timers)
        if (!next || t.due < *next) next = t.due;
    return next;
}

void PaintManager::FireDueTimers(uint64_t now)
{
    std::vector<std::pair<Control*, unsigned>> due;
    for (auto& t : m_timers)
        if (t.due <= now) {
            // A late timer fires once, not once per missed period.
            t.due = now + t.period;
            due.emplace_back(t.control, t.id);
        }
    for (auto [control, id] : due)
        if (HasTimer(control, id)) Send(control, EventType::Timer, {}, 0, 0, id);
}

void PaintManager::Invalidate(const Rect& rc) { m_dirty = m_dirty.Union(rc.Intersect({0, 0, m_client.cx, m_client.cy})); }

void PaintManager::NeedUpdate() { m_needUpdate = true; }

void PaintManager::Layout()
{
    m_needUpdate = false;
    if (m_root) m_root->SetPos({0, 0, m_client.cx, m_client.cy});
    m_dirty = {0, 0, m_client.cx, m_client.cy};
}

Rect PaintManager::TakeDirty()
{
    if (m_needUpdate) Layout();
    Rect dirty = m_dirty;
    m_dirty = {};
    return dirty;
}

void PaintManager::Paint(Painter& painter, const Rect& dirty)
{
    if (m_root && !dirty.Empty()) m_root->DoPaint(painter, dirty);
}

void PaintManager::Send(Control* control, EventType type, Point p, uint32_t key, unsigned keyState, uintptr_t wParam)
{
    if (!control) return;
    Event e;
    e.type = type;
    e.sender = control;
    e.mouse = p;
    e.key = key;
    e.keyState = keyState;
    e.wParam = wParam;
    e.timestamp = Now();
    control->DoEvent(e);
}

void PaintManager::OnMouseMove(Point p, unsigned keyState)
{
    if (m_capture) {
        Send(m_capture, EventType::MouseMove, p, 0, keyState);
        return;
    }
    Control* hit = FindControlAt(p);
    if (hit && !hit->IsEnabled()) hit = nullptr;
    if (hit != m_hover) {
        Control* old = m_hover;
        m_hover = hit;
        Send(old, EventType::MouseLeave, p);
        Send(hit, EventType::MouseEnter, p);
    }
    Send(hit, EventType::MouseMove, p, 0, keyState);
}

void PaintManager::OnButtonDown(Point p, unsigned keyState)
{
    Control* hit = FindControlAt(p);
    if (!hit || !hit->IsEnabled()) return;
    if (hit->IsFocusable()) SetFocus(hit);
    m_capture = hit;
    Send(hit, EventType::ButtonDown, p, 0, keyState);
}

void PaintManager::OnButtonUp(Point p, unsigned keyState)
{
    Control* target = m_capture;
    m_capture = nullptr;
    Send(target, EventType::ButtonUp, p, 0, keyState);
}

void PaintManager::OnMouseLeaveWindow()
{
    if (m_capture) return;
    Control* old = m_hover;
    m_hover = nullptr;
    Send(old, EventType::MouseLeave);
}

void PaintManager::OnKeyDown(uint32_t key, unsigned keyState)
{
    Send(m_focus, EventType::KeyDown, {}, key, keyState);
}

void PaintManager::OnChar(char32_t ch) { Send(m_focus, EventType::Char, {}, ch); }

bool PaintManager::IsCaptionDrag(Point p)
{
    const Rect& c = m_info.caption;
    Rect area{c.left, c.top, m_client.cx - c.right, c.bottom};
    if (!area.Contains(p)) return false;
    for (Control* hit = FindControlAt(p); hit; hit = hit->GetParent())
        if (hit->IsClickable() && hit->IsEnabled()) return false;
    return true;
}

void PaintManager::SetFocus(Control* control)
{
    if (control == m_focus) return;
    if (control && (control->GetManager() != this || !control->IsFocusable() || !IsShown(control))) return;
    Control* old = m_focus;
    m_focus = control;
    if (old) {
        old->m_focused = false;
        Send(old, EventType::KillFocus);
    }
    if (control) {
        control->m_focused = true;
        Send(control, EventType::SetFocus);
    }
}

void PaintManager::ForgetInput(Control* control)
{
    if (IsWithin(m_hover, control)) m_hover = nullptr;
    if (IsWithin(m_capture, control)) m_capture = nullptr;
    if (IsWithin(m_focus, control)) SetFocus(nullptr);
}

void PaintManager::ForgetControl(Control* control)
{
    if (m_hover == control) m_hover = nullptr;
    if (m_capture == control) m_capture = nullptr;
    if (m_focus == control) m_focus = nullptr;
    KillTimers(control);
    std::lock_guard lock(m_asyncMutex);
    std::erase_if(m_async, [&](const Notification& n) { return n.sender == control; });
}

std::wstring PaintManager::GetResourcePath()
{
    std::string exe = Platform::ExecutablePath();
    if (exe.empty()) return L"./";
    return FromUtf8(std::filesystem::path(exe).parent_path().string()) + L"/";
}

}  // namespace toolkit
