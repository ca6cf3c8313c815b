#include "utils/Thread.h"

#include "platform/Clock.h"
#include "platform/ThreadName.h"
#include "utils/Log.h"
#include "utils/Text.h"

namespace Utils {

Thread::Thread(void* argument, std::wstring name, Work work)
    : m_argument(argument), m_name(std::move(name)), m_work(std::move(work))
{
    try {
        m_thread = std::thread(&Thread::CallBack, this);
    } catch (const std::system_error&) {
        return;  // no thread: IsValid() is false
    }
    // The id is the kernel's, known only once the thread runs.
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_idKnown; });
}

Thread::~Thread()
{
    Join();
    m_name.clear();
    m_work = nullptr;
}

void Thread::Resume()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_start == Start::Waiting) m_start = Start::Run;
    m_changed.notify_all();
}

void Thread::Join()
{
    if (!m_thread.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_start == Start::Waiting) m_start = Start::Cancel;
        m_changed.notify_all();
    }
    if (m_thread.get_id() == std::this_thread::get_id()) m_thread.detach();  // cannot wait for itself
    else m_thread.join();
    m_threadId = 0xFFFFFFFFu;
}

void Thread::CallBack()
{
    uint32_t id = Platform::CurrentThreadId();
    Platform::SetCurrentThreadName(m_name.empty() ? "t" + std::to_string(id) : ToNarrow(m_name, CP_ACP));
    Start start;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_threadId = id;
        m_idKnown = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_start != Start::Waiting; });
        start = m_start;
    }
    if (start == Start::Cancel) return;
    Log(L"Utils::Thread::CallBack", __LINE__, L"THREAD BEGIN\r\n");
    if (m_work) m_work(m_argument);
    Log(L"Utils::Thread::CallBack", __LINE__, L"THREAD END\r\n");
}

}  // namespace Utils
