#pragma once
// A named worker thread, created suspended: it starts running its work only
// when the owner calls Resume. Join waits for it; the destructor joins too.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace Utils {

class Thread final {
public:
    using Work = std::function<void(void*)>;

    Thread(void* argument, std::wstring name, Work work);
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // False when the thread could not be created; the owner must not resume it then.
    bool IsValid() const { return m_thread.joinable(); }
    uint32_t GetThreadId() const { return m_threadId; }
    void Resume();
    // Waits without time limit. A thread that was never resumed is let go
    // without running its work, so joining it cannot hang.
    void Join();

private:
    enum class Start { Waiting, Run, Cancel };

    void CallBack();

    void* m_argument = nullptr;
    std::wstring m_name;
    Work m_work;
    uint32_t m_threadId = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Start m_start = Start::Waiting;
    bool m_idKnown = false;
    std::thread m_thread;
};

}  // namespace Utils
