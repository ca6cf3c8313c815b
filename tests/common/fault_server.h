#pragma once
// An HTTP server inside the test process whose answers can be made to fail in
// chosen ways: drop the connection at a byte, stall, answer an error status,
// redirect, ignore Range, lie about the length or send the wrong bytes.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace lexivar::test {

struct FaultRoute {
    // What a GET of the whole resource returns; HEAD reports its size.
    std::shared_ptr<const std::string> body = std::make_shared<const std::string>();
    int status = 200;      // anything other than 200 answers with this status and a short text
    std::string location;  // non-empty: answer 302 with this Location
    // Absolute offsets: a GET that would send the byte at the first of them sends
    // everything before it, then closes the connection; that offset is used up.
    std::vector<std::uint64_t> dropAt;
    // Pause once for `stallFor` just before sending the byte at `stallAt`.
    std::optional<std::uint64_t> stallAt;
    std::chrono::milliseconds stallFor{0};
    bool ignoreRange = false;                 // always answer 200 with the whole body
    std::optional<std::uint64_t> headLength;  // HEAD claims this Content-Length instead
    // Flip the byte at this offset in the next `corruptTimes` GETs.
    std::optional<std::uint64_t> corruptAt;
    int corruptTimes = 1 << 30;
    // The next `failTimes` GETs that reach no drop point answer `failStatus`.
    int failTimes = 0;
    int failStatus = 500;
};

// Shorthands for the common routes; set further fields on the result.
FaultRoute Serve(std::shared_ptr<const std::string> body);
FaultRoute Status(int status);
FaultRoute Redirect(std::string location);

struct SeenRequest {
    std::string method;
    std::string path;
    std::string range;  // the Range header as sent, empty when none
};

class FaultServer final {
public:
    FaultServer();  // listens on 127.0.0.1 at a free port until destroyed
    ~FaultServer();
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    void Route(const std::string& path, FaultRoute route);
    int Port() const { return m_port; }
    std::string Url(const std::string& path) const;

    std::vector<SeenRequest> Requests() const;
    std::vector<SeenRequest> Requests(const std::string& method, const std::string& path) const;

private:
    std::optional<FaultRoute> Take(const std::string& path);
    bool TakeFailure(const std::string& path);
    void UseUp(const std::string& path, std::optional<std::uint64_t> drop, bool stalled, bool corrupted);
    void Record(SeenRequest request);

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    mutable std::mutex m_mutex;
    std::map<std::string, FaultRoute> m_routes;
    std::vector<SeenRequest> m_requests;
    std::shared_ptr<std::atomic<bool>> m_stopping;
    friend struct FaultServerHandler;
};

}  // namespace lexivar::test
