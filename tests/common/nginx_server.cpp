#include "common/nginx_server.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/loopback.h"
#include "common/test_files.h"

extern char** environ;

namespace lexivar::test {
namespace fs = std::filesystem;

namespace {

// nginx reads a quoted string with backslash escapes, so a folder with blanks
// or quotes in its name stays one argument.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string NginxBinary() {
    for (const char* candidate : {"/usr/sbin/nginx", "/usr/local/sbin/nginx", "/usr/bin/nginx"})
        if (access(candidate, X_OK) == 0) return candidate;
    throw std::runtime_error("nginx is not installed");
}

}  // namespace

NginxServer::NginxServer(NginxOptions options) : m_options(std::move(options)) {
    fs::create_directories(m_options.workDir / "tmp");
    // Another process may take the port between our probe and nginx's bind: try again.
    for (int attempt = 0; attempt < 5; ++attempt)
        if (TryStart()) return;
    throw std::runtime_error("nginx did not start: " + ReadFile(m_options.workDir / "error.log"));
}

NginxServer::~NginxServer() { Stop(); }

std::string NginxServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void NginxServer::WriteConfig() const {
    const auto in = [&](const fs::path& name) { return Quoted((m_options.workDir / name).string()); };
    std::ofstream conf(m_options.workDir / "nginx.conf", std::ios::trunc);
    // One process, in the foreground: the test owns its pid and its lifetime.
    conf << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
         << "pid " << in("nginx.pid") << ";\n"
         << "error_log " << in("error.log") << " warn;\n"
         << "events { worker_connections 256; }\n"
         << "http {\n"
         << "  access_log " << in("access.log") << ";\n";
    for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        conf << "  " << kind << "_temp_path " << in(fs::path("tmp") / kind) << ";\n";
    conf << "  default_type application/octet-stream;\n"
         << "  sendfile on;\n  tcp_nopush on;\n  keepalive_timeout 30;\n"
         << "  absolute_redirect off;\n"
         << "  server {\n"
         << "    listen 127.0.0.1:" << m_port << ";\n"
         << "    root " << Quoted(m_options.root.string()) << ";\n";
    if (!m_options.limitRate.empty()) conf << "    limit_rate " << m_options.limitRate << ";\n";
    for (const auto& [from, to] : m_options.redirects)
        conf << "    location = " << from << " { return 302 " << to << "; }\n";
    conf << "  }\n}\n";
}

bool NginxServer::TryStart() {
    m_port = FreeLoopbackPort();
    if (m_port == 0) return false;
    WriteConfig();
    const std::string binary = NginxBinary();
    const std::string prefix = m_options.workDir.string() + "/";
    const std::string config = m_options.workDir.string() + "/nginx.conf";
    const std::string errorLog = m_options.workDir.string() + "/error.log";
    std::vector<std::string> args = {binary, "-p", prefix, "-c", config, "-e", errorLog};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&m_pid, binary.c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
        m_pid = -1;
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (AcceptsConnections(m_port)) return true;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {  // exited, probably the port was taken
            m_pid = -1;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Stop();
    return false;
}

void NginxServer::Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    int status = 0;
    waitpid(m_pid, &status, 0);
    m_pid = -1;
}

StagedPackage StagePackageFile(const fs::path& root, const fs::path& file, const std::string& md5) {
    StagedPackage package{md5, "/download_silent/" + md5 + "/LexivarSetup.exe"};
    fs::path target = root / ("download_silent/" + md5);
    fs::create_directories(target);
    fs::rename(file, target / "LexivarSetup.exe");
    return package;
}

StagedPackage StagePackage(const fs::path& root, std::uint64_t size, std::uint32_t seed) {
    fs::create_directories(root);
    fs::path staging = root / ".staging";
    std::string md5 = WriteTestFile(staging, size, seed);
    return StagePackageFile(root, staging, md5);
}

}  // namespace lexivar::test
