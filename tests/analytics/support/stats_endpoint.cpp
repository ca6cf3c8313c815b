#include "support/stats_endpoint.h"

#include <httplib.h>

#include <chrono>

#include "batch_decoder.h"

namespace zerin::analytics::test {

StatsEndpoint::StatsEndpoint() : m_server(std::make_unique<httplib::Server>()) {
    m_server->Post("/collect", [this](const httplib::Request& request, httplib::Response& response) {
        std::unique_lock lock(m_mutex);
        ++m_requests;
        m_changed.notify_all();
        switch (m_mode) {
            case Mode::Answer500: response.status = 500; return;
            case Mode::Garbage: response.status = 404; response.set_content("\x01\xff garbage", "text/plain"); return;
            case Mode::Stall:
                m_changed.wait(lock, [this] { return m_released; });
                response.status = 500;
                return;
            case Mode::Accept: break;
        }
        const auto decoded = collector::DecodeBatch(request.body);
        if (!decoded) {
            response.status = 400;
            return;
        }
        m_records.insert(m_records.end(), decoded->begin(), decoded->end());
        response.status = 200;
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

StatsEndpoint::~StatsEndpoint() {
    release();
    m_server->stop();
    m_thread.join();
}

std::string StatsEndpoint::url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/collect?project=pc"; }

void StatsEndpoint::setMode(Mode mode) {
    std::lock_guard lock(m_mutex);
    m_mode = mode;
}

void StatsEndpoint::release() {
    std::lock_guard lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
}

bool StatsEndpoint::waitForRequests(size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_requests >= count; });
}

std::vector<std::string> StatsEndpoint::records() const {
    std::lock_guard lock(m_mutex);
    return m_records;
}

size_t StatsEndpoint::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

}  // namespace zerin::analytics::test
