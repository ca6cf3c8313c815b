// Side-by-side throughput of the downloaders and the file digest against the
// usual tools, on a loopback nginx, median of five runs each:
//   lexivar-fetch --type=1   vs  curl -o
//   lexivar-fetch --type=3   vs  aria2c -x2 -s2
//   Utils::FileMd5           vs  md5sum
// plus the peak resident memory of lexivar-fetch.
//
// The single-stream downloader checks the package's MD5 as part of the
// download, and MD5 runs on one core at a fixed speed; two more rows show
// where that leaves it: the same download from an address without a digest
// against curl -o, and the checked download against curl -o followed by md5sum.
//
//   download_bench [size in MiB, default 1024]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/nginx_server.h"
#include "common/test_files.h"
#include "utils/Files.h"
#include "utils/Text.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace lexivar::test;

namespace {

constexpr int kRuns = 5;

struct Sample {
    double seconds = 0;
    long maxRssKiB = 0;
    bool ok = false;
};

Sample RunTool(std::vector<std::string> argv) {
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    Sample sample;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        sample.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        sample.maxRssKiB = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    sample.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return sample;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Series {
    std::vector<double> seconds;
    long peakRssKiB = 0;
    bool ok = true;
    void Add(const Sample& s) {
        seconds.push_back(s.seconds);
        peakRssKiB = std::max(peakRssKiB, s.maxRssKiB);
        ok = ok && s.ok;
    }
};

void Report(const char* ours, const Series& a, const char* peer, const Series& b, double mib) {
    const double oursRate = mib / Median(a.seconds);
    const double peerRate = mib / Median(b.seconds);
    std::printf("%-24s %8.1f MiB/s   %-18s %8.1f MiB/s   ratio %.2f%s\n", ours, oursRate, peer, peerRate,
                oursRate / peerRate, a.ok && b.ok ? "" : "   (a run failed)");
}

}  // namespace

int main(int argc, char** argv) {
    const std::uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
    const fs::path dir = ScratchDir("download-bench");
    const StagedPackage package = StagePackage(dir / "www", mib << 20);
    NginxServer nginx({dir / "www", dir / "nginx", {{kPackageRoute, package.path}}});
    const std::string url = nginx.Url(kPackageRoute);
    // The same bytes at an address with no 32-character segment: nothing to check.
    fs::create_directories(dir / "www/plain");
    fs::create_hard_link(dir / "www" / package.path.substr(1), dir / "www/plain/LexivarSetup.exe");
    const std::string plainUrl = nginx.Url("/plain/LexivarSetup.exe");
    const std::string fetch = std::string(LEXIVAR_BUILD_DIR) + "/lexivar-fetch";
    const fs::path out = dir / "out";
    fs::create_directories(out);
    const std::string target = (out / "package.exe").string();

    Series single, curl, multi, aria, digest, md5sum, plain, curlThenMd5;
    for (int run = 0; run < kRuns; ++run) {
        single.Add(RunTool({fetch, "--type=1", url, target}));
        fs::remove(target);
        plain.Add(RunTool({fetch, "--type=1", plainUrl, target}));
        fs::remove(target);
        const Sample fetched = RunTool({"curl", "-s", "-L", "-o", target, url});
        curl.Add(fetched);
        Sample checked = RunTool({"md5sum", target});
        checked.seconds += fetched.seconds;
        checked.ok = checked.ok && fetched.ok;
        curlThenMd5.Add(checked);
        fs::remove(target);
        multi.Add(RunTool({fetch, "--type=3", url, target}));
        fs::remove(target);
        aria.Add(RunTool({"aria2c", "-q", "-x2", "-s2", "--allow-overwrite=true", "--auto-file-renaming=false",
                          "-d", out.string(), "-o", "package.exe", url}));
        fs::remove(target);
    }
    const std::string staged = (dir / "www" / package.path.substr(1)).string();
    for (int run = 0; run < kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const bool same = Utils::FileMd5(staged) == package.md5;
        digest.Add({std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0, same});
        md5sum.Add(RunTool({"md5sum", staged}));
    }

    std::printf("%llu MiB over loopback nginx, median of %d runs\n", static_cast<unsigned long long>(mib), kRuns);
    Report("lexivar-fetch --type=1", single, "curl -o", curl, static_cast<double>(mib));
    Report("lexivar-fetch --type=3", multi, "aria2c -x2 -s2", aria, static_cast<double>(mib));
    Report("Utils::FileMd5", digest, "md5sum", md5sum, static_cast<double>(mib));
    Report("--type=1, no digest", plain, "curl -o", curl, static_cast<double>(mib));
    Report("lexivar-fetch --type=1", single, "curl -o; md5sum", curlThenMd5, static_cast<double>(mib));
    std::printf("peak RSS of lexivar-fetch: --type=1 %.1f MiB, --type=3 %.1f MiB\n", single.peakRssKiB / 1024.0,
                multi.peakRssKiB / 1024.0);
    fs::remove_all(dir);
    return 0;
}
