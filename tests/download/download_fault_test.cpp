// The client and the three downloaders against a server that misbehaves on purpose.
#include <gtest/gtest.h>

#include <map>
#include <thread>

#include <httplib.h>

#include "common/child_process.h"
#include "common/fault_server.h"
#include "download/CurlClient.h"
#include "download/FailureReason.h"
#include "download/download_fixture.h"

namespace lexivar::test {
namespace {

using Codes = std::vector<int>;

class FaultDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { download_report::SetFailureReasonHook(nullptr); }

    // Serves `size` test bytes under a folder named after their MD5 (or `digest`).
    std::string ServePackage(std::uint64_t size, FaultRoute route = {}, std::string digest = {}) {
        auto bytes = std::make_shared<const std::string>(MakeTestBytes(size));
        m_md5 = Md5Hex(*bytes);
        m_body = bytes;
        route.body = bytes;
        const std::string path = PackagePathFor(digest.empty() ? m_md5 : digest);
        m_server.Route(path, route);
        m_packagePath = path;
        return m_server.Url(path);
    }

    fs::path Target() const { return m_dir / "package.exe"; }

    FaultServer m_server;
    fs::path m_dir;
    std::string m_md5;
    std::string m_packagePath;
    std::shared_ptr<const std::string> m_body;
};

TEST_F(FaultDownloadTest, ClientRefusesResourcesBelowOneMebibyte) {
    for (std::uint64_t size : {1048575ull, 1048576ull}) {
        const std::string url = ServePackage(size);
        CurlClient client(std::wstring(url.begin(), url.end()), Target().wstring(), nullptr);
        const int result = client.Start();
        const bool accepted = size >= 1048576;
        EXPECT_EQ(result, accepted ? 0 : CurlClient::kLengthRefused) << size;
        EXPECT_EQ(m_server.Requests("GET", m_packagePath).size(), accepted ? 1u : 0u) << size;
        EXPECT_EQ(fs::exists(Target()), accepted);
        EXPECT_FALSE(fs::exists(Target().string() + ".part"));
        if (accepted) {
            EXPECT_EQ(Md5OfFile(Target()), m_md5);
        }
        fs::remove(Target());
    }
}

TEST_F(FaultDownloadTest, NotFoundIsReportedOnceByEachLengthQuery) {
    std::vector<std::wstring> reasons;
    download_report::SetFailureReasonHook([&](const std::wstring& reason) { reasons.push_back(reason); });
    m_server.Route("/software/364", Status(404));
    const std::string url = m_server.Url("/software/364");
    CurlClient client(std::wstring(url.begin(), url.end()), Target().wstring(), nullptr);
    EXPECT_EQ(client.Start(), CurlClient::kLengthRefused);
    EXPECT_EQ(reasons, std::vector<std::wstring>(2, L"1.获取文件大小的状态码为=404；"));
    EXPECT_TRUE(m_server.Requests("GET", "/software/364").empty());
}

TEST_F(FaultDownloadTest, ClientResumesFromTheSideFile) {
    const std::string url = ServePackage(3 << 20);
    const size_t already = 1 << 20;
    WriteFile(Target().string() + ".part", m_body->substr(0, already));
    struct Sink {
        std::vector<double> percents;
        static void Call(void* self, double, double, double percent) {
            static_cast<Sink*>(self)->percents.push_back(percent);
        }
    } sink;
    CurlClient client(std::wstring(url.begin(), url.end()), Target().wstring(), &sink, &Sink::Call);
    auto seconds = std::make_shared<std::int64_t>(0);
    client.SetClock([seconds] { return ++*seconds; });
    ASSERT_EQ(client.Start(), 0);
    auto gets = m_server.Requests("GET", m_packagePath);
    ASSERT_EQ(gets.size(), 1u);
    EXPECT_EQ(gets[0].range, "bytes=1048576-");
    EXPECT_EQ(Md5OfFile(Target()), m_md5);
    ASSERT_FALSE(sink.percents.empty());
    // The bytes already there count towards the percent from the start.
    EXPECT_GE(sink.percents.front(), 33.33);
    EXPECT_DOUBLE_EQ(sink.percents.back(), 100.0);
}

TEST_F(FaultDownloadTest, SingleStreamResumesAfterDrops) {
    const std::uint64_t size = 4 << 20;
    FaultRoute route;
    route.dropAt = {size * 4 / 10, size * 8 / 10};
    const std::string url = ServePackage(size, route);
    auto run = RunDownload(1, url, Target());
    EXPECT_EQ(run->recorder.Codes(), (Codes{1001, 1003}));
    EXPECT_EQ(run->recorder.Last().text, L"LibCurl");
    auto gets = m_server.Requests("GET", m_packagePath);
    ASSERT_EQ(gets.size(), 3u);
    EXPECT_EQ(gets[0].range, "");
    EXPECT_EQ(gets[1].range, "bytes=" + std::to_string(size * 4 / 10) + "-");
    EXPECT_EQ(gets[2].range, "bytes=" + std::to_string(size * 8 / 10) + "-");
    EXPECT_EQ(Md5OfFile(Target()), m_md5);
    EXPECT_FALSE(fs::exists(Target().string() + ".part"));
}

struct DigestCase {
    const char* name;
    bool upperDigest;
    bool noDigest;
    int corruptTimes;
    Codes codes;
};

TEST_F(FaultDownloadTest, DigestChecksOfBothCurlDownloaders) {
    const std::vector<DigestCase> cases = {
        {"matching digest", false, false, 0, {1001, 1003}},
        {"uppercase digest", true, false, 0, {1001, 1006, 1005, 1001, 1006, 1004}},
        {"no digest in the address", false, true, 0, {1001, 1006, 1003}},
        {"wrong bytes once", false, false, 1, {1001, 1006, 1005, 1001, 1003}},
    };
    const std::uint64_t size = 1 << 20;
    const std::string md5 = Md5Hex(MakeTestBytes(size));
    for (int type : {1, 3}) {
        for (const DigestCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " type " + std::to_string(type));
            FaultRoute route;
            if (c.corruptTimes) {
                route.corruptAt = size / 2;
                route.corruptTimes = c.corruptTimes;
            }
            std::string url;
            if (c.noDigest) {
                url = ServePackage(size, route);
                m_server.Route("/files/setup.exe", [&] {
                    route.body = m_body;
                    return route;
                }());
                url = m_server.Url("/files/setup.exe");
            } else {
                url = ServePackage(size, route, c.upperDigest ? Upper(md5) : md5);
            }
            auto run = RunDownload(type, url, Target());
            EXPECT_EQ(run->recorder.Codes(), c.codes);
            const bool success = c.codes.back() == DL_CODE_SUCCESS;
            EXPECT_EQ(fs::exists(Target()), success);
            if (success) {
                EXPECT_EQ(Md5OfFile(Target()), m_md5);
            }
            for (const Event& e : run->recorder.Events()) {
                if (e.code != DL_CODE_MESSAGE) continue;
                const std::wstring prefix = type == 3 ? L"mtcurl" : L"curl";
                EXPECT_EQ(e.text, prefix + (c.noDigest ? L"获取url-md5失败" : L"文件md5校验失败"));
            }
            run.reset();
            fs::remove(Target());
        }
    }
}

TEST_F(FaultDownloadTest, MultiPartSplitsIntoRanges) {
    struct SplitCase {
        std::uint64_t size;
        std::vector<std::string> ranges;
    };
    const std::vector<SplitCase> cases = {
        {20971519, {"bytes=0-20971518"}},
        {20971521, {"bytes=0-10485759", "bytes=10485760-20971520"}},
    };
    for (const SplitCase& c : cases) {
        const std::string url = ServePackage(c.size);
        auto run = RunDownload(3, url, Target());
        EXPECT_EQ(run->recorder.Codes(), (Codes{1001, 1003}));
        std::vector<std::string> ranges;
        for (const SeenRequest& r : m_server.Requests("GET", m_packagePath)) ranges.push_back(r.range);
        std::sort(ranges.begin(), ranges.end());
        EXPECT_EQ(ranges, c.ranges) << c.size;
        EXPECT_EQ(Md5OfFile(Target()), m_md5);
        EXPECT_FALSE(fs::exists(Target().string() + "_0"));
        EXPECT_FALSE(fs::exists(Target().string() + "_1"));
        run.reset();
        fs::remove(Target());
    }
}

// Both parts drop once, then fail until their budgets are spent: the run asks for
// a retry, and the second run resumes each part where its file ends.
TEST_F(FaultDownloadTest, MultiPartResumesPartsAfterRetry) {
    const std::uint64_t size = 24 << 20;
    const std::uint64_t half = size / 2;
    FaultRoute route;
    route.dropAt = {4 << 20, half + (4 << 20)};
    route.failTimes = 14;  // seven failed attempts for each part use up its budget
    const std::string url = ServePackage(size, route);
    auto run = RunDownload(3, url, Target(), FastOptions(true));
    const Codes codes = run->recorder.Codes();
    EXPECT_EQ(codes, (Codes{1001, 1005, 1001, 1003}));
    for (const Event& e : run->recorder.Events())
        if (e.code == DL_CODE_RETRY) {
            EXPECT_EQ(e.value, 22.0);
        }
    EXPECT_FALSE(run->recorder.Progress().empty());
    std::map<std::string, int> ranges;
    for (const SeenRequest& r : m_server.Requests("GET", m_packagePath)) ++ranges[r.range];
    // Each part began once from its start; the second run resumed both where their files ended.
    EXPECT_EQ(ranges["bytes=0-12582911"], 1);
    EXPECT_EQ(ranges["bytes=12582912-25165823"], 1);
    EXPECT_EQ(ranges["bytes=4194304-12582911"], 8);  // seven failures, then the resumed run
    EXPECT_EQ(ranges["bytes=16777216-25165823"], 8);
    EXPECT_EQ(Md5OfFile(Target()), m_md5);
}

TEST_F(FaultDownloadTest, ServerThatIgnoresRangesStillYieldsTheFile) {
    for (int type : {1, 3}) {
        SCOPED_TRACE(type);
        const std::uint64_t size = 21 << 20;
        FaultRoute route;
        route.ignoreRange = true;
        route.dropAt = {size * 4 / 10};
        const std::string url = ServePackage(size, route);
        auto run = RunDownload(type, url, Target());
        EXPECT_EQ(run->recorder.Codes(), (Codes{1001, 1003}));
        EXPECT_EQ(Md5OfFile(Target()), m_md5);
        run.reset();
        fs::remove(Target());
    }
}

// Whatever goes wrong, a run ends in exactly one final event, and the target
// never holds anything but the complete package.
TEST_F(FaultDownloadTest, BadInputEndsInOneFinalEvent) {
    const std::uint64_t size = 2 << 20;
    struct BadCase {
        const char* name;
        std::function<std::string()> url;
        fs::path target;
    };
    auto lyingLength = [&](std::uint64_t claimed) {
        FaultRoute route;
        route.headLength = claimed;
        return ServePackage(size, route);
    };
    m_server.Route("/loop/a", Redirect("/loop/b"));
    m_server.Route("/loop/b", Redirect("/loop/a"));
    WriteFile(m_dir / "plain-file", "x");
    const std::vector<BadCase> cases = {
        {"redirect loop", [&] { return m_server.Url("/loop/a"); }, Target()},
        {"length claimed larger", [&] { return lyingLength(size + (1 << 20)); }, Target()},
        {"length claimed smaller", [&] { return lyingLength(size - (1 << 20)); }, Target()},
        {"empty body", [&] {
             m_server.Route("/empty/setup.exe", Serve(std::make_shared<const std::string>()));
             return m_server.Url("/empty/setup.exe");
         }, Target()},
        {"unwritable path", [&] { return ServePackage(size); }, m_dir / "plain-file" / "package.exe"},
        {"blanks and non-ASCII", [&] { return m_server.Url("/dir with space/\xC3\xA9.exe"); }, Target()},
        {"target is a folder", [&] { return ServePackage(size); }, m_dir / "folder"},
    };
    fs::create_directories(m_dir / "folder" / "inside");
    for (int type : {1, 2, 3}) {
        for (const BadCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " type " + std::to_string(type));
            auto run = RunDownload(type, c.url(), c.target);
            const Codes codes = run->recorder.Codes();
            ASSERT_FALSE(codes.empty());
            std::string trace;
            for (const Event& e : run->recorder.Events())
                if (e.code != DL_CODE_PROGRESS) trace += std::to_string(e.code) + "/" + std::to_string(e.value) + " ";
            SCOPED_TRACE(trace);
            const int final = codes.back();
            EXPECT_TRUE(final == DL_CODE_SUCCESS || final == DL_CODE_FAIL) << final;
            EXPECT_EQ(std::count(codes.begin(), codes.end(), final), 1);
            if (final == DL_CODE_SUCCESS) {
                // The system service takes an empty body for a complete one; it checks nothing.
                const bool emptyBody = std::string(c.name) == "empty body";
                EXPECT_EQ(Md5OfFile(c.target), emptyBody && type == 2 ? Md5Hex("") : m_md5);
            } else {
                EXPECT_FALSE(fs::is_regular_file(c.target));
            }
            run.reset();
            fs::remove(Target());
        }
    }
}

// Destroying a downloader in the middle of a transfer must end its threads
// promptly and send nothing more.
TEST_F(FaultDownloadTest, DestroyingARunningDownloaderIsSafe) {
    for (int type : {1, 2, 3}) {
        SCOPED_TRACE(type);
        FaultRoute route;
        route.stallAt = 1 << 20;
        route.stallFor = std::chrono::seconds(30);
        const std::string url = ServePackage(4 << 20, route);
        EventRecorder recorder;
        auto downloader = CreateDownloader(type, recorder.Callback(), std::wstring(url.begin(), url.end()),
                                           Target().wstring(), FastOptions());
        downloader->Start();
        for (int i = 0; i < 500 && m_server.Requests("GET", m_packagePath).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const size_t before = recorder.Events().size();
        const auto started = std::chrono::steady_clock::now();
        downloader.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
        EXPECT_EQ(recorder.Events().size(), before);
        EXPECT_FALSE(fs::exists(Target()));
    }
    // One that was never started has a waiting worker that must end too.
    EventRecorder recorder;
    auto idle = CreateDownloader(2, recorder.Callback(), L"http://127.0.0.1:1/x", Target().wstring());
    idle.reset();
    EXPECT_TRUE(recorder.Events().empty());
}

// The package runs with the user's rights: a server whose certificate cannot be
// verified gets no download from either libcurl downloader.
TEST_F(FaultDownloadTest, CurlDownloadersVerifyTlsPeers) {
    const std::string cert = (m_dir / "cert.pem").string();
    const std::string key = (m_dir / "key.pem").string();
    ProcessResult made = RunProcess({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                                     key, "-out", cert, "-days", "1", "-subj", "/CN=127.0.0.1"});
    ASSERT_EQ(made.exitCode, 0);
    httplib::SSLServer server(cert.c_str(), key.c_str());
    std::atomic<int> gets{0};
    const std::string body = MakeTestBytes(2 << 20);
    server.Get(".*", [&](const httplib::Request& req, httplib::Response& res) {
        if (req.method == "GET") ++gets;
        res.set_content(body, "application/octet-stream");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    const std::string url = "https://127.0.0.1:" + std::to_string(port) + PackagePathFor(Md5Hex(body));
    for (int type : {1, 3}) {
        auto run = RunDownload(type, url, Target());
        EXPECT_EQ(run->recorder.Last().code, DL_CODE_FAIL) << type;
        EXPECT_FALSE(fs::exists(Target()));
    }
    EXPECT_EQ(gets.load(), 0);
    server.stop();
    thread.join();
}

}  // namespace
}  // namespace lexivar::test
