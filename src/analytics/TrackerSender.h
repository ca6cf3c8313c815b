#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

namespace zerin::analytics {

// Decides where queued records are sent from. After a successful send the
// next flush runs on the caller's thread; after a failed one (or before any)
// it runs in the background, so a dead endpoint never holds up the caller.
// Background sends are owned here and joined by stop(), so none of them can
// outlive the tracker whose pending count it updates.
class TrackerSender final {
public:
    struct Hooks {
        std::function<bool()> lastSendOk;
        std::function<bool()> flush;
    };
    // Hooks default to the recording SDK's.
    TrackerSender(std::atomic<int32_t>& pending, Hooks hooks = {});
    ~TrackerSender();
    TrackerSender(const TrackerSender&) = delete;
    TrackerSender& operator=(const TrackerSender&) = delete;

    // Records that something may be waiting and, for `flush`, sends it.
    void request(bool flush);
    // Up to `attempts` flushes while anything is pending, on the calling thread,
    // serialised with every other send of the process.
    void flushNow(int attempts, std::chrono::milliseconds pause);
    // Waits until no background send runs; false when `timeout` passed first.
    bool waitIdle(std::chrono::milliseconds timeout);
    // Background sends that have not begun are abandoned; one that is sending
    // finishes its current attempt. Returns when all have ended.
    void stop();

private:
    struct Worker {
        std::thread thread;
        bool done = false;
    };
    void startBackground();
    void sendInBackground();
    void attempt(int attempts, std::chrono::milliseconds pause, bool background);
    void reapFinishedLocked();

    std::atomic<int32_t>& m_pending;
    Hooks m_hooks;
    std::atomic<bool> m_stopping{false};

    std::mutex m_workersMutex;
    std::condition_variable m_workersChanged;
    std::list<Worker> m_workers;
};

}  // namespace zerin::analytics
