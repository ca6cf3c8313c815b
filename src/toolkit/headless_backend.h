#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "toolkit/backend.h"

namespace toolkit {

// Windows without a display: content is painted into each window's surface
// as usual, input is whatever the test posts. Time is virtual: when the loop
// has nothing to do but wait for a timer, the clock jumps to it, so timer
// behaviour is tested without sleeping.
class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(Rect workArea = {0, 0, 1920, 1080}) : m_workArea(workArea) {}

    // Asked first whenever the loop runs dry; returning true means the
    // handler posted something (a click, a key) and the loop goes on.
    void SetIdleHandler(std::function<bool()> handler) { m_idle = std::move(handler); }
    void Advance(uint64_t ms) { m_now += ms; }
    int ErrorBoxes() const { return m_errorBoxes; }

    std::unique_ptr<NativeWindow> CreateNativeWindow(WindowHandle handle, const std::wstring& title, Size size,
                                                     Size roundCorner) override;
    void Wait(MessageLoop& loop, std::optional<uint64_t> timeoutMs) override;
    void Wake() override;
    uint64_t Now() override { return m_now; }
    Rect WorkArea(const Rect& /*near*/) override { return m_workArea; }
    void ShowErrorBox(const std::wstring& text, const std::wstring& caption) override;

private:
    Rect m_workArea;
    std::function<bool()> m_idle;
    std::atomic<uint64_t> m_now{1000};
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_woken = false;
    int m_errorBoxes = 0;
};

}  // namespace toolkit
