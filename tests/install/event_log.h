#pragma once
// Collects status events from any thread and lets a test wait for one.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "download/Downloader.h"

struct Event {
    int32_t code = 0;
    double value = 0.0;
    std::wstring text;
    bool operator==(const Event&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
    os << "(" << e.code << ", " << e.value << ", \"";
    for (wchar_t c : e.text) os << (c < 128 ? static_cast<char>(c) : '?');
    return os << "\")";
}

class EventLog {
public:
    StatusCallback Callback() {
        return [this](int32_t code, double value, const wchar_t* text) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_events.push_back({code, value, text});
            m_changed.notify_all();
        };
    }
    // Waits until an event with one of the codes arrives (or the time is up).
    bool WaitFor(std::initializer_list<int32_t> codes, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] {
            for (const auto& e : m_events)
                for (int32_t c : codes)
                    if (e.code == c) return true;
            return false;
        });
    }
    bool WaitForCount(int32_t code, size_t count, std::chrono::seconds limit = std::chrono::seconds(20)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] {
            size_t n = 0;
            for (const auto& e : m_events) n += e.code == code;
            return n >= count;
        });
    }
    std::vector<Event> Events() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }
    std::vector<int32_t> Codes() {
        std::vector<int32_t> codes;
        for (const auto& e : Events()) codes.push_back(e.code);
        return codes;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Event> m_events;
};
