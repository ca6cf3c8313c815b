// The downloaders and lexivar-fetch against a real nginx that serves the package
// the way the download server does.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "common/child_process.h"
#include "common/nginx_server.h"
#include "download/CurlClient.h"
#include "download/download_fixture.h"

namespace lexivar::test {
namespace {

using Codes = std::vector<int>;

class NginxDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    void StartNginx(const StagedPackage& package) {
        m_nginx = std::make_unique<NginxServer>(
            NginxOptions{m_dir / "www", m_dir / "nginx", {{kPackageRoute, package.path}}});
    }

    std::vector<fs::path> Leftovers(const fs::path& target) const {
        std::vector<fs::path> found;
        for (const char* suffix : {".part", "_0", "_1", ".download"})
            if (fs::exists(target.string() + suffix)) found.push_back(target.string() + suffix);
        return found;
    }

    fs::path m_dir;
    std::unique_ptr<NginxServer> m_nginx;
};

TEST_F(NginxDownloadTest, EachDownloaderFetchesTheRedirectedPackage) {
    const StagedPackage package = StagePackage(m_dir / "www", 64 << 20);
    StartNginx(package);
    for (int type : {1, 2, 3}) {
        SCOPED_TRACE(type);
        const fs::path target = m_dir / ("package-" + std::to_string(type) + ".exe");
        const auto started = std::chrono::steady_clock::now();
        auto run = RunDownload(type, m_nginx->Url(kPackageRoute), target, DownloadOptions{});
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
        EXPECT_EQ(run->recorder.Codes(), (Codes{1001, 1003}));
        EXPECT_EQ(Md5OfFile(target), package.md5);
        EXPECT_TRUE(Leftovers(target).empty());
        double previous = 0.0;
        for (const Event& e : run->recorder.Progress()) {
            EXPECT_GE(e.value, previous);
            EXPECT_LE(e.value, 1.0);
            previous = e.value;
        }
        // The libcurl downloaders speak at most once per calendar second.
        if (type != 2) {
            EXPECT_LE(run->recorder.Progress().size(), static_cast<size_t>(seconds.count()) + 2);
        }
        fs::remove(target);
    }
}

TEST_F(NginxDownloadTest, FetchToolPrintsEventsAndExitCode) {
    const StagedPackage package = StagePackage(m_dir / "www", 2 << 20);
    StartNginx(package);
    const std::string tool = std::string(LEXIVAR_BUILD_DIR) + "/lexivar-fetch";
    const fs::path target = m_dir / "fetched.exe";

    ProcessResult ok = RunProcess({tool, "--type=3", m_nginx->Url(kPackageRoute), target.string()});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out.substr(0, 8), "1001\t1\t\n");
    EXPECT_NE(ok.out.find("\n1003\t0\tLibCurl\n"), std::string::npos) << ok.out;
    EXPECT_EQ(Md5OfFile(target), package.md5);

    ProcessResult missing = RunProcess({tool, "--type=1", m_nginx->Url("/nothing/here.exe"), target.string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "1001\t1\t\n1004\t-998\tLibCurl\n");

    EXPECT_EQ(RunProcess({tool, "--type=x", "u", "p"}).exitCode, 2);
}

// Sizes and positions past 2 GiB: a resume offset, part ranges and the join. The
// package is sparse with a few marks, so that bytes in the wrong place show
// without hashing gigabytes.
TEST_F(NginxDownloadTest, PackageBeyondTwoGibibytes) {
    const std::uint64_t size = 3ull << 30;
    const std::vector<std::uint64_t> marks = {0, (3ull << 29) - 4, 3ull << 29, 1ull << 31, (5ull << 29) + 3, size - 4};
    auto readMark = [](const fs::path& file, std::uint64_t at) {
        std::ifstream in(file, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(at));
        std::string text(4, '\0');
        in.read(text.data(), 4);
        return text;
    };
    // Mark i is "mk1i"; a file cut at `length` keeps the marks before it.
    auto makeSparse = [&](const fs::path& file, std::uint64_t length) {
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            for (size_t i = 0; i < marks.size() && marks[i] + 4 <= length; ++i) {
                out.seekp(static_cast<std::streamoff>(marks[i]));
                out << "mk" << 10 + i;
            }
        }
        fs::resize_file(file, length);
    };
    const fs::path source = m_dir / "www" / "files" / "setup.exe";
    fs::create_directories(source.parent_path());
    makeSparse(source, size);
    m_nginx = std::make_unique<NginxServer>(NginxOptions{m_dir / "www", m_dir / "nginx", {}});
    const std::string url = m_nginx->Url("/files/setup.exe");

    // The multi-part downloader: the second part starts at 1.5 GiB and ends past 3 GiB.
    const fs::path target = m_dir / "big.exe";
    auto run = RunDownload(3, url, target, DownloadOptions{});
    EXPECT_EQ(run->recorder.Codes(), (Codes{1001, 1006, 1003}));  // no digest in this address
    EXPECT_EQ(fs::file_size(target), size);
    for (std::uint64_t at : marks) EXPECT_EQ(readMark(target, at), readMark(source, at)) << at;
    EXPECT_TRUE(Leftovers(target).empty());
    fs::remove(target);

    // The client resumes from a side file that already holds the first 2.5 GiB.
    const fs::path side = target.string() + ".part";
    makeSparse(side, 5ull << 29);
    CurlClient client(std::wstring(url.begin(), url.end()), target.wstring(), nullptr);
    ASSERT_EQ(client.Start(), 0);
    EXPECT_EQ(client.ResumeOffset(), static_cast<std::int64_t>(5ull << 29));
    EXPECT_EQ(fs::file_size(target), size);
    for (std::uint64_t at : marks) EXPECT_EQ(readMark(target, at), readMark(source, at)) << at;
    fs::remove(target);
}

}  // namespace
}  // namespace lexivar::test
