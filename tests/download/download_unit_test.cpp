// Pure rules of the downloaders: budgets, part sizes, progress throttling,
// address encoding, result mapping, and restarting from the worker's own thread.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <vector>

#include "download/BackgroundMd5.h"
#include "download/CurlClient.h"
#include "download/FailureReason.h"
#include "download/MTCurlDownloader.h"
#include "download/RestartableWorker.h"
#include "download/RetryBudget.h"
#include "download/UrlDownloadService.h"
#include "download/WinDownloader.h"
#include "common/test_files.h"
#include "utils/Md5.h"

namespace {

struct BudgetCase {
    std::vector<int> results;  // what the attempts return, in order
    int expectedResult;
    size_t expectedAttempts;
};

// Runs the scripted attempts; past the end of the script every attempt fails with its last entry.
std::pair<int, size_t> RunScript(const std::vector<int>& script, bool part) {
    size_t attempts = 0;
    auto attempt = [&] { return script[std::min(attempts++, script.size() - 1)]; };
    auto beforeRetry = [](int) { return true; };
    int result = part ? retry_budget::RetryPart(attempt, beforeRetry)
                      : retry_budget::RetrySingleStream(attempt, beforeRetry);
    return {result, attempts};
}

TEST(RetryBudgetTest, SingleStreamAttempts) {
    const std::vector<BudgetCase> cases = {
        {{7, 7, 7, 7, 7, 0}, 0, 6},                              // five failures, then success
        {{7, 7, 7, 7, 7, 7, 0}, 7, 6},                           // a sixth failure ends the run
        {{18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 18, 0}, 0, 12},  // eleven partial, then success
        {{18}, 18, 12},                                          // twelve partial ones end it
        {{18, 7, 18, 7, 7, 7, 7}, 7, 7},                         // 1+2+1+2+2+2+2 = 12
        {{0}, 0, 1},
    };
    for (const BudgetCase& c : cases) {
        auto [result, attempts] = RunScript(c.results, false);
        EXPECT_EQ(result, c.expectedResult);
        EXPECT_EQ(attempts, c.expectedAttempts);
    }
}

TEST(RetryBudgetTest, PartAttempts) {
    const std::vector<BudgetCase> cases = {
        {{22}, 22, 7},
        {{18}, 18, 13},
        {{22, 22, 22, 22, 22, 22, 0}, 0, 7},
        {{18, 22}, 22, 8},  // the drop costs 1, then six more ordinary failures
    };
    for (const BudgetCase& c : cases) {
        auto [result, attempts] = RunScript(c.results, true);
        EXPECT_EQ(result, c.expectedResult);
        EXPECT_EQ(attempts, c.expectedAttempts);
    }
}

TEST(RetryBudgetTest, TeardownStopsRetrying) {
    size_t attempts = 0;
    int result = retry_budget::RetrySingleStream([&] { return ++attempts, 7; }, [](int) { return false; });
    EXPECT_EQ(result, 7);
    EXPECT_EQ(attempts, 1u);
}

TEST(PartSizesTest, SplitsAtTwentyMebibytes) {
    using Sizes = std::vector<std::int64_t>;
    EXPECT_EQ(CMTCurlDownloader::PartSizes(256), Sizes{256});
    EXPECT_EQ(CMTCurlDownloader::PartSizes(20971519), Sizes{20971519});
    EXPECT_EQ(CMTCurlDownloader::PartSizes(20971520), (Sizes{10485760, 10485760}));
    EXPECT_EQ(CMTCurlDownloader::PartSizes(20971521), (Sizes{10485760, 10485761}));
    // Beyond 2 GiB the positions must not wrap.
    EXPECT_EQ(CMTCurlDownloader::PartSizes(3221225473), (Sizes{1610612736, 1610612737}));
}

struct SinkCalls {
    std::vector<double> percents;
    static void Sink(void* owner, double, double, double percent) {
        static_cast<SinkCalls*>(owner)->percents.push_back(percent);
    }
};

TEST(CurlClientProgressTest, OneReportPerCalendarSecond) {
    SinkCalls calls;
    CurlClient client(L"http://127.0.0.1:1/x", L"/nonexistent/x", &calls, &SinkCalls::Sink);
    std::int64_t now = 1000;
    client.SetClock([&] { return now; });
    // Unknown total length: percent comes from libcurl's own counters.
    EXPECT_EQ(CurlClient::ProgressCallback(&client, 200, 50, 0, 0), 0);
    EXPECT_EQ(CurlClient::ProgressCallback(&client, 200, 60, 0, 0), 0);  // same second: nothing
    now = 1001;
    EXPECT_EQ(CurlClient::ProgressCallback(&client, 200, 0, 0, 0), 0);  // nothing received yet: no report
    now = 1002;
    EXPECT_EQ(CurlClient::ProgressCallback(&client, 200, 100, 0, 0), 0);
    EXPECT_EQ(calls.percents, (std::vector<double>{25.0, 50.0}));
    client.RequestStop();
    EXPECT_EQ(CurlClient::ProgressCallback(&client, 200, 100, 0, 0), 1);
}

TEST(FailureReasonTest, HookSeesStatusTextAndCanBeDetached) {
    std::vector<std::wstring> seen;
    download_report::SetFailureReasonHook([&](const std::wstring& reason) { seen.push_back(reason); });
    download_report::ReportFailureReason(download_report::LengthStatusReason(404));
    download_report::SetFailureReasonHook(nullptr);
    download_report::ReportFailureReason(L"unseen");
    EXPECT_EQ(seen, std::vector<std::wstring>{L"1.获取文件大小的状态码为=404；"});
}

TEST(WinDownloaderTest, AddressEncoding) {
    EXPECT_EQ(CWinDownloader::DownloadUrl(L"file:///tmp/a b/é.exe"), L"file:///tmp/a b/é.exe");
    EXPECT_EQ(CWinDownloader::DownloadUrl(L"http://h/a b/é.exe?x=%41"), L"http://h/a+b/%C3%A9.exe?x=%41");
}

TEST(WinDownloaderTest, BindCallbackProgressAndAbort) {
    std::vector<double> values;
    CWinDownloader::CBindCallback callback;
    callback.SetStatusCallback([&](std::int32_t code, double value, const wchar_t*) {
        EXPECT_EQ(code, DL_CODE_PROGRESS);
        values.push_back(value);
    });
    url_download::BindInfo info;
    callback.GetBindInfo(nullptr, &info);
    EXPECT_EQ(info.codePage, 65001u);
    EXPECT_EQ(callback.OnProgress(10, 0, url_download::kDownloadingData, L""), url_download::kOk);
    EXPECT_EQ(callback.OnProgress(1, 4, url_download::kDownloadingData, L""), url_download::kOk);
    // Past 4 GiB a 32-bit count would wrap.
    EXPECT_EQ(callback.OnProgress(6442450944ull, 8589934592ull, url_download::kDownloadingData, L""),
              url_download::kOk);
    callback.Abort();
    EXPECT_EQ(callback.OnProgress(2, 4, url_download::kDownloadingData, L""), url_download::kAbort);
    EXPECT_EQ(values, (std::vector<double>{0.25, 0.75}));
}

TEST(UrlDownloadServiceTest, CurlResultsMapToHresults) {
    using namespace url_download;
    EXPECT_EQ(FromCurlResult(0, 200), kOk);
    EXPECT_EQ(FromCurlResult(22, 404), kResourceNotFound);
    EXPECT_EQ(FromCurlResult(22, 500), kDownloadFailure);
    EXPECT_EQ(FromCurlResult(7, 0), kCannotConnect);
    EXPECT_EQ(FromCurlResult(42, 200), kAbort);
    EXPECT_EQ(FromCurlResult(47, 302), kRedirectFailed);
    EXPECT_FALSE(Succeeded(kDownloadFailure));
}

TEST(Md5StreamTest, PiecesAndFilePrefixGiveTheWholeDigest) {
    const std::string bytes = lexivar::test::MakeTestBytes(3000000);
    const auto path = lexivar::test::ScratchDir("md5-stream") / "data";
    lexivar::test::WriteFile(path, bytes.substr(0, 2000000));
    Utils::Md5Stream digest;
    EXPECT_TRUE(digest.UpdateFromFile(path.string(), 1500000));
    digest.Update(bytes.data() + 1500000, 1000000);
    digest.Update(bytes.data() + 2500000, 500000);
    EXPECT_EQ(digest.Finish(), lexivar::test::Md5Hex(bytes));
    EXPECT_EQ(digest.Finish(), "");  // spent

    Utils::Md5Stream tooShort;
    EXPECT_FALSE(tooShort.UpdateFromFile(path.string(), 2000001));
    EXPECT_EQ(tooShort.Finish(), "");
}

// More blocks than the hashing thread may hold, in pieces that straddle them.
TEST(BackgroundMd5Test, MatchesTheDigestOfTheWhole) {
    const std::string bytes = lexivar::test::MakeTestBytes(9 * 1048576 + 12345);
    const auto path = lexivar::test::ScratchDir("background-md5") / "prefix";
    lexivar::test::WriteFile(path, bytes.substr(0, 777777));
    BackgroundMd5 digest;
    ASSERT_TRUE(digest.UpdateFromFile(path.string(), 777777));
    for (size_t at = 777777; at < bytes.size(); at += 65537)
        digest.Update(bytes.data() + at, std::min<size_t>(65537, bytes.size() - at));
    EXPECT_EQ(digest.Finish(), lexivar::test::Md5Hex(bytes));
    BackgroundMd5 unused;  // destroyed without Finish: its thread must still end
}

// A run that asks to be started again from its own thread must neither wait for
// itself nor lose the second run.
TEST(RestartableWorkerTest, StartFromOwnThreadRepeatsTheRun) {
    std::atomic<int> runs{0};
    std::promise<void> twoRuns;
    RestartableWorker* self = nullptr;
    RestartableWorker worker([&] {
        const int run = ++runs;
        if (run == 1) self->Start();
        if (run == 2) twoRuns.set_value();
    });
    self = &worker;
    worker.Start();
    ASSERT_EQ(twoRuns.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    worker.Join();
    EXPECT_EQ(runs.load(), 2);
    worker.Start();  // from another thread: waits for nothing, runs once more
    worker.Join();
    EXPECT_EQ(runs.load(), 3);
}

}  // namespace
