#pragma once

// Windows on the off-screen backend, driven by a script of input steps that
// runs whenever the message loop would otherwise wait.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>

#include "platform/resources.h"
#include "toolkit/fixture.h"
#include "toolkit/headless_backend.h"
#include "toolkit/message_loop.h"
#include "toolkit/window.h"

namespace uifixture {

inline toolkit::HeadlessBackend& Backend()
{
    auto& loop = toolkit::MessageLoop::Instance();
    if (!loop.HasBackend()) loop.SetBackend(std::make_unique<toolkit::HeadlessBackend>());
    return static_cast<toolkit::HeadlessBackend&>(loop.GetBackend());
}

// Every test of the binary runs on the off-screen backend.
inline const bool kHeadless = (Backend(), true);

// Registers a skin archive under a resource id of its own (ids cannot be
// registered twice in one process).
inline int RegisterSkin(const fixture::Files& files)
{
    static int nextId = 900;
    static std::deque<std::vector<std::byte>> kept;  // lives as long as linked data would
    const auto& bytes = kept.emplace_back(fixture::Make7z(files));
    int id = nextId++;
    Platform::RegisterResource("ZIPRES", id, {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    return id;
}

// Steps run one per idle moment of the loop; the script is cleared on exit.
class Script {
public:
    Script()
    {
        Backend().SetIdleHandler([this] {
            if (m_steps.empty()) return false;
            auto step = std::move(m_steps.front());
            m_steps.pop_front();
            step();
            return true;
        });
    }
    ~Script() { Backend().SetIdleHandler(nullptr); }
    Script& Then(std::function<void()> step)
    {
        m_steps.push_back(std::move(step));
        return *this;
    }
    bool Done() const { return m_steps.empty(); }

private:
    std::deque<std::function<void()>> m_steps;
};

inline toolkit::Point CentreOf(toolkit::Window& w, const wchar_t* name)
{
    toolkit::Control* c = w.GetPaintManager().FindControl(name);
    EXPECT_NE(c, nullptr) << "no control";
    if (!c) return {};
    const auto& r = c->GetPos();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The window created last that still exists.
inline toolkit::Window* NewestWindow()
{
    auto& loop = toolkit::MessageLoop::Instance();
    for (toolkit::WindowHandle h = loop.LastHandle(); h > 0; --h)
        if (auto* w = loop.Find(h)) return w;
    return nullptr;
}

inline void Click(toolkit::WindowHandle handle, toolkit::Point p)
{
    auto& loop = toolkit::MessageLoop::Instance();
    loop.Post(handle, toolkit::wm::MouseMove, 0, toolkit::MakePointParam(p));
    loop.Post(handle, toolkit::wm::LButtonDown, 0, toolkit::MakePointParam(p));
    loop.Post(handle, toolkit::wm::LButtonUp, 0, toolkit::MakePointParam(p));
}

inline void Click(toolkit::Window& w, const wchar_t* name) { Click(w.GetHWND(), CentreOf(w, name)); }

inline void Key(toolkit::WindowHandle handle, uint32_t key, bool alt = false)
{
    toolkit::MessageLoop::Instance().Post(handle, alt ? toolkit::wm::SysKeyDown : toolkit::wm::KeyDown, key, 0);
}

}  // namespace uifixture
