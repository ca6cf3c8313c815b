#pragma once
// The worker thread of a downloader that can be started again.
//
// A retry request (1005) reaches the owner on the worker's own thread, and the
// owner answers by starting the downloader again from inside that callback. The
// worker cannot wait for itself, so a start from its own thread is remembered and
// the next run begins there once the current one has returned. A start from any
// other thread waits for the previous worker to end, then starts a fresh one.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "utils/Thread.h"

class RestartableWorker final {
public:
    explicit RestartableWorker(std::function<void()> run) : m_run(std::move(run)) {}
    ~RestartableWorker() { Join(); }
    RestartableWorker(const RestartableWorker&) = delete;
    RestartableWorker& operator=(const RestartableWorker&) = delete;

    void Start();
    // Waits for the worker (and any run it was asked to repeat) to end.
    void Join();
    // After this, a start from the worker's own thread is ignored.
    void StopRepeating();

private:
    void Loop();
    bool TakeRepeat();

    std::function<void()> m_run;
    std::unique_ptr<Utils::Thread> m_thread;
    std::atomic<std::thread::id> m_workerId{};
    std::mutex m_mutex;
    bool m_repeat = false;
    bool m_stopped = false;
};
