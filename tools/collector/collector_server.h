#pragma once

#include <memory>
#include <string>

namespace collector {

// What the collector does to a request instead of answering 200, for fault tests.
enum class Fault { None, Answer500, Stall, Close };

struct Options {
    std::string host = "127.0.0.1";
    int port = 0;          // 0: any free port
    std::string outPath;   // one JSON line per received record
    std::string logPath;   // one JSON line per request (optional)
    Fault fault = Fault::None;
    long faultCount = -1;  // requests the fault applies to, counted from the first; -1: all
    int stallSeconds = 10;
};

// The statistics endpoint: POST /collect?project=pc with a batch body.
class Server final {
public:
    explicit Server(Options options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds; returns the port in use, or -1 when binding failed.
    int Bind();
    // Serves until Stop is called (from another thread).
    void Listen();
    void Stop();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

bool ParseFault(const std::string& text, Fault& fault);

}  // namespace collector
