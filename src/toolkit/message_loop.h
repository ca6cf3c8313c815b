#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "toolkit/backend.h"
#include "toolkit/message.h"

namespace toolkit {

class Window;

// The one message queue of the window thread. Any thread may post; only the
// window thread takes messages and dispatches them, to whichever window of the
// thread they are for. Timers and repaints are produced when nothing was
// posted, so posted messages always come first and keep their order.
class MessageLoop final {
public:
    static MessageLoop& Instance();

    void SetBackend(std::unique_ptr<Backend> backend);
    Backend& GetBackend();
    bool HasBackend() const { return m_backend != nullptr; }
    uint64_t Now();

    // Any thread. False when the window does not exist (the message is dropped).
    bool Post(WindowHandle window, uint32_t id, uintptr_t wParam, intptr_t lParam);
    void PostQuit(int code);
    bool IsWindow(WindowHandle window);

    // Window thread. False when a quit message was taken (its code in `quitCode`).
    bool GetMessage(Message& msg);
    void Dispatch(const Message& msg);
    // Takes and dispatches messages for about `budgetMs`, stopping early when
    // the window is gone or a quit message arrives (which is posted again).
    // True when it stopped because its time was up.
    bool PumpFor(WindowHandle window, uint64_t budgetMs);
    int QuitCode() const { return m_quitCode; }

    // From the backend, on the window thread.
    void PostInput(const Message& msg);

    WindowHandle Register(Window* window);
    void Unregister(WindowHandle window);
    Window* Find(WindowHandle window) const;
    WindowHandle LastHandle() const { return m_nextHandle - 1; }

private:
    MessageLoop() = default;
    bool TakeSynthetic(Message& msg);
    std::optional<uint64_t> NextTimeout();

    std::unique_ptr<Backend> m_backend;
    std::mutex m_mutex;
    std::deque<Message> m_queue;
    std::set<WindowHandle> m_live;  // guarded by m_mutex
    std::map<WindowHandle, Window*> m_windows;  // window thread only
    WindowHandle m_nextHandle = 1;
    int m_quitCode = 0;
};

// Messages produced by the loop itself, handled by Window::Dispatch.
namespace wm {
constexpr uint32_t TimerTick = 0x8002;
constexpr uint32_t Paint = 0x8003;
}  // namespace wm

}  // namespace toolkit
