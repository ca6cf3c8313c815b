#pragma once
// The main window on the off-screen backend, with the real skin, driven by a
// list of steps that each wait for a condition and then act.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "common/test_files.h"
#include "toolkit/container.h"
#include "toolkit/headless_backend.h"
#include "toolkit/label.h"
#include "toolkit/message_loop.h"
#include "toolkit/progress.h"
#include "ui/CMainWnd.h"
#include "utils/Text.h"

namespace mainwnd_test {

namespace fs = std::filesystem;

inline toolkit::HeadlessBackend& Backend()
{
    auto& loop = toolkit::MessageLoop::Instance();
    if (!loop.HasBackend()) loop.SetBackend(std::make_unique<toolkit::HeadlessBackend>());
    return static_cast<toolkit::HeadlessBackend&>(loop.GetBackend());
}

// Records, settings files and the application-data folder of these tests live
// in a scratch home, never in the user's own; set before any thread starts.
inline const fs::path kHome = [] {
    fs::path home = lexivar::test::ScratchDir("mainwnd-home");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    Backend();
    return home;
}();

inline std::wstring W(const fs::path& p) { return Utils::ToWide(p.string(), Utils::CP_UTF8); }

inline toolkit::Window* NewestWindow()
{
    auto& loop = toolkit::MessageLoop::Instance();
    for (toolkit::WindowHandle h = loop.LastHandle(); h > 0; --h)
        if (auto* w = loop.Find(h)) return w;
    return nullptr;
}

inline toolkit::Control* Control(toolkit::Window& w, const wchar_t* name)
{
    return w.GetPaintManager().FindControl(name);
}

inline std::wstring TextOf(toolkit::Window& w, const wchar_t* name)
{
    toolkit::Control* c = Control(w, name);
    return c ? c->GetText() : L"<missing>";
}

inline void Click(toolkit::Window& w, const wchar_t* name)
{
    toolkit::Control* c = Control(w, name);
    ASSERT_NE(c, nullptr) << toolkit::ToUtf8(name);
    const auto& r = c->GetPos();
    toolkit::Point p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    auto& loop = toolkit::MessageLoop::Instance();
    for (uint32_t id : {toolkit::wm::MouseMove, toolkit::wm::LButtonDown, toolkit::wm::LButtonUp})
        loop.Post(w.GetHWND(), id, 0, toolkit::MakePointParam(p));
}

inline int Page(toolkit::Window& w)
{
    auto* tab = static_cast<toolkit::TabLayout*>(Control(w, L"mainTabLt")->GetInterface(L"TabLayout"));
    return tab ? tab->GetCurSel() : -1;
}

inline int Bar(toolkit::Window& w)
{
    auto* bar = static_cast<toolkit::Progress*>(Control(w, L"installPrg")->GetInterface(L"Progress"));
    return bar ? bar->GetValue() : -1;
}

// Steps run in order whenever the loop has nothing else to do. A step waits
// (polling, without moving the virtual clock) until its condition holds;
// `LetTimeRun` lets the clock jump to the next timer instead.
class Driver {
public:
    using Condition = std::function<bool()>;

    explicit Driver(std::chrono::seconds limit = std::chrono::seconds(60))
        : m_deadline(std::chrono::steady_clock::now() + limit)
    {
        Backend().SetIdleHandler([this] { return Idle(); });
    }
    ~Driver() { Backend().SetIdleHandler(nullptr); }

    Driver& When(Condition condition, std::function<void()> action)
    {
        m_steps.push_back({std::move(condition), std::move(action), false});
        return *this;
    }
    Driver& Then(std::function<void()> action) { return When([] { return true; }, std::move(action)); }
    // Acts on the newest window once a box with this layout class is open.
    Driver& OnBox(const std::wstring& className, std::function<void(toolkit::Window&)> action)
    {
        return When([className] { return NewestWindow() && NewestWindow()->GetWindowClassName() == className; },
                    [action] { action(*NewestWindow()); });
    }
    Driver& LetTimeRun()
    {
        m_steps.push_back({[] { return true; }, [] {}, true});
        return *this;
    }
    bool Done() const { return m_steps.empty(); }

private:
    struct Step {
        Condition condition;
        std::function<void()> action;
        bool letTimeRun;
    };

    bool Idle()
    {
        if (std::chrono::steady_clock::now() > m_deadline) {
            ADD_FAILURE() << "a step waited too long; " << m_steps.size() << " steps left";
            m_steps.clear();
            CloseAll();
            return true;
        }
        if (m_steps.empty()) return false;
        if (m_steps.front().letTimeRun) {
            m_steps.pop_front();
            return false;
        }
        if (!m_steps.front().condition()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return true;
        }
        auto action = std::move(m_steps.front().action);
        m_steps.pop_front();
        action();
        return true;
    }

    // A quit ends every modal loop, even on the page that ignores closing.
    static void CloseAll() { toolkit::MessageLoop::Instance().PostQuit(9); }

    std::deque<Step> m_steps;
    std::chrono::steady_clock::time_point m_deadline;
};

}  // namespace mainwnd_test
