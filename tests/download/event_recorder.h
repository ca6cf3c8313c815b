#pragma once
// Collects the status events of one downloader and, like the controller,
// starts it again from inside the callback when it asks for a retry.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "download/Downloader.h"

namespace lexivar::test {

struct Event {
    int code = 0;
    double value = 0.0;
    std::wstring text;
};

class EventRecorder final {
public:
    StatusCallback Callback() {
        return [this](std::int32_t code, double value, const wchar_t* text) { Record(code, value, text); };
    }

    // With a downloader attached, 1005 restarts it from the callback's own thread.
    void RestartOnRetry(CDownloader* downloader) { m_downloader.store(downloader); }

    // Waits for a run-ending code that no restart follows.
    bool WaitForEnd(std::chrono::seconds timeout = std::chrono::seconds(60)) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [this] { return m_ended; });
    }

    bool WaitForCode(int code, std::chrono::seconds timeout = std::chrono::seconds(30)) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] {
            return std::any_of(m_events.begin(), m_events.end(), [&](const Event& e) { return e.code == code; });
        });
    }

    std::vector<Event> Events() {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

    // Every code except progress, in order.
    std::vector<int> Codes() {
        std::vector<int> codes;
        for (const Event& e : Events())
            if (e.code != DL_CODE_PROGRESS) codes.push_back(e.code);
        return codes;
    }

    std::vector<Event> Progress() {
        std::vector<Event> out;
        for (const Event& e : Events())
            if (e.code == DL_CODE_PROGRESS) out.push_back(e);
        return out;
    }

    Event Last() {
        std::lock_guard lock(m_mutex);
        return m_events.empty() ? Event{} : m_events.back();
    }

private:
    void Record(int code, double value, const wchar_t* text) {
        {
            std::lock_guard lock(m_mutex);
            m_events.push_back({code, value, text ? text : L"<null>"});
        }
        CDownloader* downloader = m_downloader.load();
        if (code == DL_CODE_RETRY && downloader) {
            downloader->Start();
            return;
        }
        if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL || code == DL_CODE_RETRY) {
            std::lock_guard lock(m_mutex);
            m_ended = true;
        }
        m_changed.notify_all();
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Event> m_events;
    std::atomic<CDownloader*> m_downloader{nullptr};
    bool m_ended = false;
};

}  // namespace lexivar::test
