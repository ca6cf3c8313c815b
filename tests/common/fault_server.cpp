#include "common/fault_server.h"

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <charconv>

namespace lexivar::test {

namespace {

constexpr std::uint64_t kChunk = 64 * 1024;

struct ByteRange {
    std::uint64_t first = 0;
    std::uint64_t count = 0;
    bool partial = false;
    bool satisfiable = true;
};

// Only the single-range forms a download client sends: "bytes=a-b", "bytes=a-", "bytes=-n".
ByteRange ParseRange(const std::string& header, std::uint64_t size) {
    ByteRange whole{0, size, false, true};
    const std::string prefix = "bytes=";
    if (header.rfind(prefix, 0) != 0 || header.find(',') != std::string::npos) return whole;
    std::string bounds = header.substr(prefix.size());
    size_t dash = bounds.find('-');
    if (dash == std::string::npos) return whole;
    auto number = [](const std::string& text, std::uint64_t& out) {
        auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
        return ec == std::errc() && ptr == text.data() + text.size() && !text.empty();
    };
    std::uint64_t a = 0, b = 0;
    bool hasA = number(bounds.substr(0, dash), a);
    bool hasB = number(bounds.substr(dash + 1), b);
    if (!hasA && hasB) {  // suffix: the last b bytes
        b = std::min(b, size);
        return {size - b, b, true, b > 0};
    }
    if (!hasA) return whole;
    if (a >= size) return {a, 0, true, false};
    std::uint64_t last = hasB ? std::min(b, size - 1) : size - 1;
    if (last < a) return whole;
    return {a, last - a + 1, true, true};
}

// What one response sends, fixed when the request arrives so that concurrent
// requests each use up their own faults.
struct Plan {
    std::shared_ptr<const std::string> body;
    std::uint64_t first = 0;
    std::optional<std::uint64_t> dropAt;
    std::optional<std::uint64_t> stallAt;
    std::chrono::milliseconds stallFor{0};
    std::optional<std::uint64_t> corruptAt;
    std::shared_ptr<std::atomic<bool>> stopping;
};

void Stall(const Plan& plan) {
    auto until = std::chrono::steady_clock::now() + plan.stallFor;
    while (std::chrono::steady_clock::now() < until && !plan.stopping->load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// Sends the next piece of [first, first + count) starting at absolute `pos`.
bool SendPiece(Plan& plan, std::uint64_t pos, std::uint64_t remaining, httplib::DataSink& sink) {
    std::uint64_t n = std::min(kChunk, remaining);
    if (plan.dropAt) {
        if (*plan.dropAt <= pos) return false;  // closing here leaves the body short
        n = std::min(n, *plan.dropAt - pos);
    }
    if (plan.stallAt) {
        if (*plan.stallAt == pos) {
            Stall(plan);
            plan.stallAt.reset();
        } else if (*plan.stallAt > pos) {
            n = std::min(n, *plan.stallAt - pos);
        }
    }
    if (plan.stopping->load()) return false;
    const char* data = plan.body->data() + pos;
    if (plan.corruptAt && *plan.corruptAt >= pos && *plan.corruptAt < pos + n) {
        std::string copy(data, n);
        copy[*plan.corruptAt - pos] ^= 0x5A;
        return sink.write(copy.data(), copy.size());
    }
    return sink.write(data, n);
}

}  // namespace

struct FaultServerHandler {
    static void Handle(FaultServer& self, const httplib::Request& req, httplib::Response& res);
};

void FaultServerHandler::Handle(FaultServer& self, const httplib::Request& req, httplib::Response& res) {
    std::string rangeHeader = req.get_header_value("Range");
    self.Record({req.method, req.path, rangeHeader});
    // Ranges are answered here, not by the library, so that ignoring them is possible.
    const_cast<httplib::Request&>(req).ranges.clear();

    std::optional<FaultRoute> route = self.Take(req.path);
    if (!route) {
        res.status = 404;
        res.set_content("no such route", "text/plain");
        return;
    }
    if (!route->location.empty()) {
        res.set_redirect(route->location, 302);
        return;
    }
    if (route->status != 200) {
        res.status = route->status;
        res.set_content("fault server status", "text/plain");
        return;
    }
    const std::uint64_t size = route->body->size();
    if (req.method == "HEAD" && route->headLength) {
        res.status = 200;
        res.set_header("Content-Length", std::to_string(*route->headLength));
        return;
    }
    ByteRange range = route->ignoreRange ? ByteRange{0, size, false, true} : ParseRange(rangeHeader, size);
    if (!range.satisfiable) {
        res.status = 416;
        res.set_header("Content-Range", "bytes */" + std::to_string(size));
        return;
    }
    std::optional<std::uint64_t> drop;
    if (req.method == "GET")
        for (std::uint64_t at : route->dropAt)
            if (at >= range.first && at < range.first + range.count) {
                drop = at;
                break;
            }
    // A request that reaches a drop point drops; scripted failures hit the others.
    if (req.method == "GET" && !drop && route->failTimes > 0 && self.TakeFailure(req.path)) {
        res.status = route->failStatus;
        res.set_content("fault server failure", "text/plain");
        return;
    }
    res.status = range.partial ? 206 : 200;
    res.set_header("Accept-Ranges", "bytes");
    if (range.partial)
        res.set_header("Content-Range", "bytes " + std::to_string(range.first) + "-" +
                                            std::to_string(range.first + range.count - 1) + "/" +
                                            std::to_string(size));
    if (range.count == 0) {
        res.set_content("", "application/octet-stream");
        return;
    }
    auto plan = std::make_shared<Plan>();
    plan->body = route->body;
    plan->first = range.first;
    plan->stopping = self.m_stopping;
    if (req.method == "GET") {
        const std::uint64_t end = range.first + range.count;
        plan->dropAt = drop;
        if (route->stallAt && *route->stallAt >= range.first && *route->stallAt < end) {
            plan->stallAt = route->stallAt;
            plan->stallFor = route->stallFor;
        }
        if (route->corruptTimes > 0) plan->corruptAt = route->corruptAt;
        self.UseUp(req.path, plan->dropAt, plan->stallAt.has_value(), plan->corruptAt.has_value());
    }
    res.set_content_provider(range.count, "application/octet-stream",
                             [plan](size_t offset, size_t length, httplib::DataSink& sink) {
                                 return SendPiece(*plan, plan->first + offset, length, sink);
                             });
}

FaultRoute Serve(std::shared_ptr<const std::string> body) {
    FaultRoute route;
    route.body = std::move(body);
    return route;
}

FaultRoute Status(int status) {
    FaultRoute route;
    route.status = status;
    return route;
}

FaultRoute Redirect(std::string location) {
    FaultRoute route;
    route.location = std::move(location);
    return route;
}

FaultServer::FaultServer()
    : m_server(std::make_unique<httplib::Server>()), m_stopping(std::make_shared<std::atomic<bool>>(false)) {
    m_server->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
        FaultServerHandler::Handle(*this, req, res);
    });
    m_port = m_server->bind_to_any_port("127.0.0.1");
    // Connections that arrive before the accept loop runs wait in the backlog.
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
}

FaultServer::~FaultServer() {
    m_stopping->store(true);
    m_server->stop();
    m_thread.join();
}

void FaultServer::Route(const std::string& path, FaultRoute route) {
    std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(route);
}

std::string FaultServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

std::optional<FaultRoute> FaultServer::Take(const std::string& path) {
    std::lock_guard lock(m_mutex);
    auto it = m_routes.find(path);
    if (it == m_routes.end()) return std::nullopt;
    return it->second;
}

bool FaultServer::TakeFailure(const std::string& path) {
    std::lock_guard lock(m_mutex);
    auto it = m_routes.find(path);
    if (it == m_routes.end() || it->second.failTimes <= 0) return false;
    --it->second.failTimes;
    return true;
}

// The faults a GET has taken on do not hit the next request again.
void FaultServer::UseUp(const std::string& path, std::optional<std::uint64_t> drop, bool stalled, bool corrupted) {
    std::lock_guard lock(m_mutex);
    auto it = m_routes.find(path);
    if (it == m_routes.end()) return;
    FaultRoute& route = it->second;
    if (drop) std::erase(route.dropAt, *drop);
    if (stalled) route.stallAt.reset();
    if (corrupted) --route.corruptTimes;
}

void FaultServer::Record(SeenRequest request) {
    std::lock_guard lock(m_mutex);
    m_requests.push_back(std::move(request));
}

std::vector<SeenRequest> FaultServer::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<SeenRequest> FaultServer::Requests(const std::string& method, const std::string& path) const {
    std::vector<SeenRequest> out;
    for (SeenRequest& r : Requests())
        if (r.method == method && r.path == path) out.push_back(r);
    return out;
}

}  // namespace lexivar::test
