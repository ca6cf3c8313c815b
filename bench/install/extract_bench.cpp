// Extraction speed of the package installer against `tar -xf` on the very
// same 200 MiB payload. Prints both medians and the speed ratio.
//   install_extract_bench [work folder] [MiB]
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "package/payload.hpp"

extern char** environ;
namespace fs = std::filesystem;

namespace {

int Run(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteBytes(const fs::path& path, size_t size, uint64_t seed) {
    std::string data(size, '\0');
    for (auto& c : data) {
        seed ^= seed << 13;
        seed ^= seed >> 7;
        seed ^= seed << 17;
        c = static_cast<char>(seed >> 56);
    }
    std::ofstream(path, std::ios::binary) << data;
}

// Mostly large product files plus many small ones, as a real product has.
std::vector<std::string> MakeFiles(const fs::path& src, size_t totalMiB) {
    std::vector<std::string> entries;
    const size_t small = 2000, smallSize = 8 * 1024;
    const size_t large = (totalMiB * 1024 * 1024 - small * smallSize) / (1024 * 1024);
    for (size_t i = 0; i < large; ++i) {
        const std::string name = "data/large" + std::to_string(i) + ".bin";
        fs::create_directories(src / "data");
        WriteBytes(src / name, 1024 * 1024, i + 1);
        entries.push_back(name + "=" + (src / name).string());
    }
    for (size_t i = 0; i < small; ++i) {
        const std::string name = "res/" + std::to_string(i % 20) + "/s" + std::to_string(i) + ".txt";
        fs::create_directories((src / name).parent_path());
        WriteBytes(src / name, smallSize, 7777 + i);
        entries.push_back(name + "=" + (src / name).string());
    }
    return entries;
}

double Seconds(const std::vector<std::string>& argv, const fs::path& out) {
    fs::remove_all(out);
    fs::create_directories(out);
    const auto began = std::chrono::steady_clock::now();
    if (Run(argv) != 0) std::fprintf(stderr, "failed: %s\n", argv[0].c_str());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path work = argc > 1 ? fs::path(argv[1]) : fs::current_path() / "extract-bench";
    const size_t mib = argc > 2 ? std::stoul(argv[2]) : 200;
    fs::remove_all(work);
    fs::create_directories(work / "src");
    std::vector<std::string> pack = {PACKAGE_PACK, PACKAGE_STUB, (work / "package.exe").string(), "--tar"};
    for (auto& e : MakeFiles(work / "src", mib)) pack.push_back(e);
    if (Run(pack) != 0) return 1;

    // The same archive bytes as a plain file for tar.
    lexivar::package::PayloadRegion region;
    if (!lexivar::package::FindPayload(work / "package.exe", region)) return 1;
    {
        std::ifstream in(work / "package.exe", std::ios::binary);
        in.seekg(static_cast<std::streamoff>(region.m_offset));
        std::vector<char> buf(region.m_size);
        in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
        std::ofstream(work / "payload.tar", std::ios::binary).write(buf.data(), static_cast<std::streamsize>(buf.size()));
    }
    fs::remove_all(work / "src");

    std::vector<double> ours, tar;
    for (int round = 0; round < 4; ++round) {  // the first round only warms the caches
        const double a = Seconds({(work / "package.exe").string(), "/S", "/D=" + (work / "out-package").string()}, work / "out-package");
        const double b = Seconds({"tar", "-xf", (work / "payload.tar").string(), "-C", (work / "out-tar").string()}, work / "out-tar");
        if (round > 0) {
            ours.push_back(a);
            tar.push_back(b);
        }
    }
    const double mb = static_cast<double>(region.m_size) / (1024.0 * 1024.0);
    std::printf("payload %.0f MiB\npackage installer %.3f s (%.0f MiB/s)\ntar -xf           %.3f s (%.0f MiB/s)\n"
                "speed ratio (package / tar) %.2f\n",
                mb, Median(ours), mb / Median(ours), Median(tar), mb / Median(tar), Median(tar) / Median(ours));
    fs::remove_all(work);
    return 0;
}
