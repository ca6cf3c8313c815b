#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace zerin::analytics::test {

// A statistics endpoint inside the test: decodes every batch it is sent and
// keeps the records, or answers the way a test asks (an error status,
// garbage, or a stall that lasts until released).
class StatsEndpoint final {
public:
    enum class Mode { Accept, Answer500, Garbage, Stall };

    StatsEndpoint();
    ~StatsEndpoint();
    StatsEndpoint(const StatsEndpoint&) = delete;
    StatsEndpoint& operator=(const StatsEndpoint&) = delete;

    std::string url() const;
    void setMode(Mode mode);
    // Ends every stall, now and later.
    void release();
    // Blocks until `count` requests have arrived (or 10 s have passed).
    bool waitForRequests(size_t count);

    std::vector<std::string> records() const;
    size_t requests() const;

private:
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Mode m_mode = Mode::Accept;
    bool m_released = false;
    size_t m_requests = 0;
    std::vector<std::string> m_records;
};

}  // namespace zerin::analytics::test
