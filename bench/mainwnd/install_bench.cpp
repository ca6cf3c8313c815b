// A whole installation through the window, from the installer's start to its
// finished page, against the same two steps done by hand: `curl -o` for the
// package and the package installer run alone with the command line the
// installer gives it. Loopback nginx without a rate limit (or with the one
// given, to see a link of that speed), a 64 MiB package, five rounds each,
// medians compared.
//
// The installer starts as an update of a recorded copy with "-insnew=true", so
// it begins at once without waiting for a click, and it tells us it reached
// the finished page through its diagnostic output (LEXIVAR_DEBUG_OUTPUT=1).
//
//   install_bench [RATE]     (needs a display: DISPLAY, e.g. under Xvfb;
//                             RATE as nginx writes it, e.g. 20m for 20 MiB/s)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <string>
#include <vector>

#include "common/child_process.h"
#include "common/nginx_server.h"
#include "common/test_files.h"
#include "utils/Registry.h"
#include "utils/Text.h"

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

const fs::path kBuild = LEXIVAR_BUILD_DIR;
constexpr uint64_t kPackageSize = 64ull << 20;
constexpr uint64_t kDemoFiller = 1572864;  // the filler of the normal demo package
constexpr int kRounds = 5;

double Seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The demo package with a filler large enough for the whole file to be 64 MiB.
fs::path PackPackage(const fs::path& folder)
{
    const uint64_t rest = fs::file_size(kBuild / "package" / "LexivarSetup.exe") - kDemoFiller;
    const fs::path out = folder / "LexivarSetup.exe";
    const auto packed = lexivar::test::RunProcess(
        {(kBuild / "lexivar-package-pack").string(), (kBuild / "lexivar-package-stub").string(), out.string(), "--gzip",
         "--filler", "share/lexivar/glossary.dat", std::to_string(kPackageSize - rest),
         "lexivar.exe=" + (kBuild / "package" / "lexivar.exe").string(),
         "uninst.ep=" + (kBuild / "lexivar-package-uninst").string()});
    if (packed.exitCode != 0) return {};
    return out;
}

void UseHome(const fs::path& home)
{
    fs::remove_all(home);
    fs::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / ".local/share").c_str(), 1);
}

// Log lines that close each phase of an installation, in order; the last one
// is the finished page.
const char* const kMarks[] = {"CDownloadInstaller::Start", "DL_CODE_SUCCESS", "INSTALL_SUCCESS", "FINISHED_PAGE"};
const char* const kPhases[] = {"start-up", "download", "package installer", "finished page"};
constexpr size_t kPhaseCount = std::size(kMarks);

// Seconds from the installer's start to the end of each phase; empty when it
// never reached its finished page.
std::vector<double> RunInstaller(const std::string& url, const fs::path& folder)
{
    Utils::WriteRegString(L"InstallPath", Utils::ToWide(folder.string(), Utils::CP_UTF8));
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    std::vector<std::string> args = {(kBuild / "lexivar-setup").string(), "-downloadurl=" + url, "-insnew=true",
                                     "-isenableappsensors=false"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const auto start = Clock::now();
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::vector<double> ends;
    std::string log;
    char buffer[4096];
    for (ssize_t n; rc == 0 && ends.size() < kPhaseCount && (n = read(fds[0], buffer, sizeof buffer)) > 0;) {
        log.append(buffer, static_cast<size_t>(n));
        while (ends.size() < kPhaseCount && log.find(kMarks[ends.size()]) != std::string::npos)
            ends.push_back(Seconds(start));
    }
    close(fds[0]);
    if (rc == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (ends.size() < kPhaseCount) {
        std::fprintf(stderr, "the installer did not reach its finished page:\n%s\n", log.c_str());
        return {};
    }
    return ends;
}

// The package installer alone, with the command line the installer builds.
double RunPackage(const fs::path& package, const fs::path& folder)
{
    const std::string dir = folder.string();
    const auto start = Clock::now();
    const auto r = lexivar::test::RunProcess({package.string(), "/S", "-console=show", "-version=1.0.0",
                                              "-adminact=true", "-authorizationact=true", "-dsc=true", "-ssc=true",
                                              "-instdir=" + dir, "/D=" + dir});
    return r.exitCode == 0 ? Seconds(start) : -1;
}

double Curl(const std::string& url, const fs::path& file)
{
    const auto start = Clock::now();
    const auto r = lexivar::test::RunProcess({"/usr/bin/curl", "-sS", "-L", "-o", file.string(), url});
    return r.exitCode == 0 ? Seconds(start) : -1;
}

std::string LoadAverage()
{
    std::string load = lexivar::test::ReadFile("/proc/loadavg");
    return load.substr(0, load.find(' ', load.find(' ', load.find(' ') + 1) + 1));
}

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY") || !fs::exists("/usr/bin/curl")) {
        std::fprintf(stderr, "install_bench needs a display (DISPLAY, e.g. Xvfb) and curl\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    setenv("LEXIVAR_DEBUG_OUTPUT", "1", 1);
    const fs::path work = lexivar::test::ScratchDir("install-bench");
    const fs::path package = PackPackage(work);
    if (package.empty()) {
        std::fprintf(stderr, "could not pack the package\n");
        return 1;
    }
    const uint64_t size = fs::file_size(package);
    const std::string md5 = lexivar::test::Md5OfFile(package);
    const auto staged = lexivar::test::StagePackageFile(work / "www", package, md5);
    const std::string rate = argc > 1 ? argv[1] : "";
    lexivar::test::NginxServer nginx(
        {work / "www", work / "nginx", {{lexivar::test::kPackageRoute, staged.path}}, rate});
    const std::string url = nginx.Url(lexivar::test::kPackageRoute);
    std::printf("package %.1f MiB, rate limit %s, load average before: %s\n", static_cast<double>(size) / (1 << 20),
                rate.empty() ? "none" : rate.c_str(), LoadAverage().c_str());

    std::vector<double> ours, curl, alone;
    std::vector<std::vector<double>> phases(kPhaseCount);
    for (int round = 0; round < kRounds; ++round) {
        const fs::path dir = work / ("round-" + std::to_string(round));
        UseHome(dir / "home");
        const std::vector<double> ends = RunInstaller(url, dir / "ours" / "Lexivar");
        if (ends.empty()) return 1;
        ours.push_back(ends.back());
        for (size_t i = 0; i < kPhaseCount; ++i) phases[i].push_back(ends[i] - (i == 0 ? 0.0 : ends[i - 1]));
        const fs::path downloaded = dir / "LexivarSetup.exe";
        curl.push_back(Curl(url, downloaded));
        fs::permissions(downloaded, fs::perms::owner_all);
        alone.push_back(RunPackage(downloaded, dir / "alone" / "Lexivar"));
        std::printf("round %d: installer %.3f s, curl %.3f s, package alone %.3f s\n", round + 1, ours.back(),
                    curl.back(), alone.back());
        if (curl.back() < 0 || alone.back() < 0) return 1;
        fs::remove_all(dir);
    }
    const double baseline = Median(curl) + Median(alone);
    std::printf("median: installer %.3f s; curl %.3f s + package alone %.3f s = %.3f s\n", Median(ours), Median(curl),
                Median(alone), baseline);
    std::printf("installer phases (medians):");
    for (size_t i = 0; i < kPhaseCount; ++i) std::printf(" %s %.3f s%s", kPhases[i], Median(phases[i]), i + 1 < kPhaseCount ? "," : "\n");
    std::printf("ratio installer / (curl + package alone): %.3f (goal <= 1.15); load average after: %s\n",
                Median(ours) / baseline, LoadAverage().c_str());
    return 0;
}
