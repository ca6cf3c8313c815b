#pragma once
// Raised once when a downloader is being destroyed: transfers abort, pauses end
// early and no further events are sent.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class StopSignal final {
public:
    void Raise() {
        {
            std::lock_guard lock(m_mutex);
            m_raised.store(true);
        }
        m_changed.notify_all();
    }

    bool Raised() const { return m_raised.load(); }
    // For libcurl callbacks that only need to know whether to abort.
    std::atomic<bool>* Flag() { return &m_raised; }

    // Pauses for `duration`; false when the signal ended the pause.
    bool Pause(std::chrono::milliseconds duration) {
        std::unique_lock lock(m_mutex);
        return !m_changed.wait_for(lock, duration, [this] { return m_raised.load(); });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::atomic<bool> m_raised{false};
};
