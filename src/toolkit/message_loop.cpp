#include "toolkit/message_loop.h"

#include <chrono>

#include "toolkit/window.h"

namespace toolkit {

MessageLoop& MessageLoop::Instance()
{
    static MessageLoop loop;
    return loop;
}

void MessageLoop::SetBackend(std::unique_ptr<Backend> backend) { m_backend = std::move(backend); }

Backend& MessageLoop::GetBackend() { return *m_backend; }

uint64_t MessageLoop::Now()
{
    if (m_backend) return m_backend->Now();
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool MessageLoop::Post(WindowHandle window, uint32_t id, uintptr_t wParam, intptr_t lParam)
{
    {
        std::lock_guard lock(m_mutex);
        if (window != 0 && !m_live.count(window)) return false;
        m_queue.push_back({window, id, wParam, lParam});
    }
    if (m_backend) m_backend->Wake();
    return true;
}

void MessageLoop::PostQuit(int code) { Post(0, wm::Quit, static_cast<uintptr_t>(code), 0); }

bool MessageLoop::IsWindow(WindowHandle window)
{
    std::lock_guard lock(m_mutex);
    return window != 0 && m_live.count(window) > 0;
}

void MessageLoop::PostInput(const Message& msg)
{
    std::lock_guard lock(m_mutex);
    m_queue.push_back(msg);
}

WindowHandle MessageLoop::Register(Window* window)
{
    std::lock_guard lock(m_mutex);
    WindowHandle handle = m_nextHandle++;
    m_live.insert(handle);
    m_windows[handle] = window;
    return handle;
}

void MessageLoop::Unregister(WindowHandle window)
{
    std::lock_guard lock(m_mutex);
    m_live.erase(window);
    m_windows.erase(window);
}

Window* MessageLoop::Find(WindowHandle window) const
{
    auto it = m_windows.find(window);
    return it == m_windows.end() ? nullptr : it->second;
}

// Due timers first, then windows that need painting.
bool MessageLoop::TakeSynthetic(Message& msg)
{
    uint64_t now = Now();
    for (auto& [handle, window] : m_windows) {
        auto due = window->GetPaintManager().NextTimerDue();
        if (due && *due <= now) {
            msg = {handle, wm::TimerTick, 0, 0};
            return true;
        }
    }
    for (auto& [handle, window] : m_windows)
        if (window->NeedsPaint()) {
            msg = {handle, wm::Paint, 0, 0};
            return true;
        }
    return false;
}

std::optional<uint64_t> MessageLoop::NextTimeout()
{
    std::optional<uint64_t> next;
    for (auto& [handle, window] : m_windows) {
        auto due = window->GetPaintManager().NextTimerDue();
        if (due && (!next || *due < *next)) next = due;
    }
    if (!next) return std::nullopt;
    uint64_t now = Now();
    return *next > now ? *next - now : 0;
}

bool MessageLoop::GetMessage(Message& msg)
{
    while (true) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_queue.empty()) {
                msg = m_queue.front();
                m_queue.pop_front();
                if (msg.id == wm::Quit) {
                    m_quitCode = static_cast<int>(msg.wParam);
                    return false;
                }
                return true;
            }
        }
        if (TakeSynthetic(msg)) return true;
        if (!m_backend) return false;  // nothing could ever arrive
        m_backend->Wait(*this, NextTimeout());
    }
}

void MessageLoop::Dispatch(const Message& msg)
{
    if (Window* window = Find(msg.window)) window->Dispatch(msg.id, msg.wParam, msg.lParam);
}

bool MessageLoop::PumpFor(WindowHandle window, uint64_t budgetMs)
{
    uint64_t start = Now();
    do {
        if (window != 0 && !IsWindow(window)) return false;
        Message msg;
        if (!GetMessage(msg)) {
            PostQuit(m_quitCode);
            return false;
        }
        Dispatch(msg);
    } while (Now() - start <= budgetMs);
    return true;
}

}  // namespace toolkit
