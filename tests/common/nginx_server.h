#pragma once
// A private nginx for tests: a free loopback port, a generated configuration and
// prefix inside the build tree, started and stopped by the test that owns it. It
// never touches the system's nginx service or its files.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace lexivar::test {

struct NginxOptions {
    std::filesystem::path root;     // the folder served at "/"
    std::filesystem::path workDir;  // configuration, logs and temporary files
    // Exact request path -> path answered with a 302 redirect.
    std::map<std::string, std::string> redirects;
    // nginx's limit_rate for every response ("10m" is 10 MiB/s); empty: none.
    std::string limitRate = {};
};

class NginxServer final {
public:
    // Starts nginx and waits until it accepts connections; throws std::runtime_error
    // (with the error log) when it cannot be started.
    explicit NginxServer(NginxOptions options);
    ~NginxServer();
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    int Port() const { return m_port; }
    std::string Url(const std::string& path) const;

private:
    bool TryStart();
    void WriteConfig() const;
    void Stop();

    NginxOptions m_options;
    int m_port = 0;
    pid_t m_pid = -1;
};

// The download server's layout: the package lives under a folder named after its
// MD5, and "/software/364" redirects to it.
struct StagedPackage {
    std::string md5;
    std::string path;  // "/download_silent/<md5>/LexivarSetup.exe"
};

// Writes `size` test bytes as the package below `root`.
StagedPackage StagePackage(const std::filesystem::path& root, std::uint64_t size, std::uint32_t seed = 1);
// Places an existing file (moved, not copied) as the package with the given MD5.
StagedPackage StagePackageFile(const std::filesystem::path& root, const std::filesystem::path& file,
                               const std::string& md5);

inline constexpr const char* kPackageRoute = "/software/364";

}  // namespace lexivar::test
