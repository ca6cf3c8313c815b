#include "collector_server.h"

#include <httplib.h>
#include <json/json.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>

#include "batch_decoder.h"

namespace collector {

struct Server::State {
    Options options;
    httplib::Server http;
    std::mutex mutex;  // serialises the output files
    long requests = 0;
    std::mutex stopMutex;
    std::condition_variable stopped;
    bool stopping = false;

    Fault FaultFor() {
        std::lock_guard lock(mutex);
        const long index = requests++;
        if (options.fault == Fault::None) return Fault::None;
        return options.faultCount < 0 || index < options.faultCount ? options.fault : Fault::None;
    }

    void Append(const std::string& path, const std::string& text) {
        if (path.empty()) return;
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out << text;
    }

    void Record(const httplib::Request& request, int status, const std::vector<std::string>* records) {
        Json::Value entry;
        entry["status"] = status;
        entry["records"] = records ? static_cast<Json::UInt64>(records->size()) : 0;
        entry["cookie"] = request.has_header("Cookie");
        entry["user_agent"] = request.get_header_value("User-Agent");
        entry["content_type"] = request.get_header_value("Content-Type");
        entry["query"] = request.get_param_value("project");
        Json::StreamWriterBuilder builder;
        builder["indentation"] = "";
        std::string lines;
        if (records)
            for (const auto& r : *records) lines += r + "\n";
        std::lock_guard lock(mutex);
        Append(options.outPath, lines);
        Append(options.logPath, Json::writeString(builder, entry) + "\n");
    }

    // Holds the request until the stall ends or the server stops.
    void Stall() {
        std::unique_lock lock(stopMutex);
        stopped.wait_for(lock, std::chrono::seconds(options.stallSeconds), [this] { return stopping; });
    }

    void Handle(const httplib::Request& request, httplib::Response& response) {
        switch (FaultFor()) {
            case Fault::Answer500:
                Record(request, 500, nullptr);
                response.status = 500;
                response.set_content("fault injected", "text/plain");
                return;
            case Fault::Stall:
                Stall();
                Record(request, 200, nullptr);
                response.set_content("late", "text/plain");
                return;
            case Fault::Close:
                Record(request, 200, nullptr);
                // Promise a body and end the connection a few bytes into it.
                response.set_content_provider(1000, "text/plain", [](size_t, size_t, httplib::DataSink& sink) {
                    sink.write("partial", 7);
                    return false;
                });
                return;
            case Fault::None: break;
        }
        const auto records = DecodeBatch(request.body);
        if (!records || request.get_param_value("project") != "pc") {
            Record(request, 400, nullptr);
            response.status = 400;
            response.set_content("undecodable batch", "text/plain");
            return;
        }
        Record(request, 200, &*records);
        response.set_content("ok", "text/plain");
    }
};

Server::Server(Options options) : m_state(std::make_unique<State>()) {
    m_state->options = std::move(options);
    m_state->http.Post("/collect", [this](const httplib::Request& q, httplib::Response& r) { m_state->Handle(q, r); });
}

Server::~Server() { Stop(); }

int Server::Bind() {
    const auto& o = m_state->options;
    if (o.port == 0) return m_state->http.bind_to_any_port(o.host);
    return m_state->http.bind_to_port(o.host, o.port) ? o.port : -1;
}

void Server::Listen() { m_state->http.listen_after_bind(); }

void Server::Stop() {
    {
        std::lock_guard lock(m_state->stopMutex);
        m_state->stopping = true;
    }
    m_state->stopped.notify_all();
    m_state->http.stop();
}

bool ParseFault(const std::string& text, Fault& fault) {
    if (text == "none") fault = Fault::None;
    else if (text == "500") fault = Fault::Answer500;
    else if (text == "stall") fault = Fault::Stall;
    else if (text == "close") fault = Fault::Close;
    else return false;
    return true;
}

}  // namespace collector
