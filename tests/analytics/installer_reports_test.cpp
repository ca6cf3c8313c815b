#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "analytics/GlobalTracker.h"
#include "analytics/InstallerReports.h"
#include "support/stats_endpoint.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

// Reports through the global tracker, as the installer makes them, to an
// endpoint in the test; the tracker's files go to a scratch data folder.
class InstallerReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("XDG_DATA_HOME");
        m_oldDataHome = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_DATA_HOME", (m_dir.path() / "data").c_str(), 1);
        event_sdk::SetErrorOutput([](std::string_view) {});
        setTrackerDebugOutput([](std::string_view) {});
        setInstallerReportsEnabled(true);
    }
    void TearDown() override {
        stopTracker();
        setInstallerReportsEnabled(false);
        setTrackerDebugOutput({});
        event_sdk::SetErrorOutput({});
        if (m_oldDataHome) {
            setenv("XDG_DATA_HOME", m_oldDataHome->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
    }

    InstallerTrackerSettings settings() const {
        const std::string url = m_endpoint.url();
        return {L"Lexivar", L".downloader", L"1.7.9", L"lexivar-setup", L"2.0.1", std::wstring(url.begin(), url.end())};
    }
    std::vector<Json::Value> received() const {
        std::vector<Json::Value> out;
        for (const auto& r : m_endpoint.records()) out.push_back(ParseJson(r));
        return out;
    }

    TempDir m_dir;
    StatsEndpoint m_endpoint;
    std::optional<std::string> m_oldDataHome;
};

TEST_F(InstallerReportsTest, ASuccessfulRunArrivesInOrderWithTheGroup) {
    startTracker(settings());
    const AbMap ab = defaultAbGroup();
    reportInstallingView(ab);
    reportTaskEvent(L"下载器启动", ab, L"", 0);
    reportTaskEvent(L"开始下载大包", ab, L"", 0);
    reportTaskEvent(L"大包下载完毕", ab, L"", 12.5f);
    reportTaskEvent(L"安装成功", ab, L"", 0);
    reportClickEvent(ab, L"立即体验");
    stopTracker();

    const auto records = received();
    ASSERT_EQ(records.size(), 6u);
    const char* names[] = {"安装中", "下载器启动", "开始下载大包", "大包下载完毕", "安装成功", "立即体验"};
    for (size_t i = 0; i < records.size(); ++i) {
        const Json::Value& p = records[i]["properties"];
        EXPECT_EQ(p.isMember("zr_task_name") ? p["zr_task_name"].asString() : p["zr_name"].asString(), names[i]);
        EXPECT_EQ(p["zrc_ab"].asString(), "IN");
        EXPECT_EQ(p["zr_app_id"].asString(), "Lexivar.downloader");
        EXPECT_EQ(p["zr_app_store"].asString(), "lexivar-setup");
        EXPECT_EQ(p["zr_dlapp_id"].asString(), "Lexivar");
        EXPECT_EQ(p["zr_edition"].asString(), "china");
    }
    EXPECT_EQ(records[0]["event"].asString(), "ZrEventView");
    EXPECT_EQ(records[3]["properties"]["zr_task_elapsed"].asDouble(), 12.5);
    EXPECT_EQ(records[3]["properties"]["zr_task_result"].asString(), "Success");
    EXPECT_FALSE(records[3]["properties"].isMember("zr_reason"));
    EXPECT_EQ(records[5]["properties"]["zr_click_type"].asString(), "Button");
}

TEST_F(InstallerReportsTest, CrashReportIsSentBeforeReturning) {
    startTracker(settings());
    reportCrashAndWait(std::chrono::seconds(5));
    const auto records = received();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["properties"]["zr_task_name"].asString(), "崩溃退出");
    EXPECT_EQ(records[1]["event"].asString(), "AppCrashed");
    EXPECT_EQ(records[1]["properties"]["app_crashed_reason"].asString(), "崩溃");
    EXPECT_FALSE(records[1]["properties"].isMember("zrc_ab"));
}

TEST_F(InstallerReportsTest, GroupCodesThatBreakTheRuleAreLeftOut) {
    startTracker(settings());
    reportTaskEvent(L"a", {{L"AB", L"in"}}, L"", 0);
    reportTaskEvent(L"b", {{L"AB", L"TOOLONG"}}, L"", 0);
    reportTaskEvent(L"c", {{L"AB", L""}}, L"", 0);
    reportTaskEvent(L"d", {{L"XY", L"IN"}}, L"", 0);
    stopTracker();
    const auto records = received();
    ASSERT_EQ(records.size(), 4u);
    for (const auto& r : records) EXPECT_FALSE(r["properties"].isMember("zrc_ab"));
}

TEST_F(InstallerReportsTest, NothingHappensWhenDisabledOrWithoutATracker) {
    setInstallerReportsEnabled(false);
    startTracker(settings());
    EXPECT_EQ(globalTracker(), nullptr);
    reportClickEvent(defaultAbGroup(), L"立即安装");
    reportCrashAndWait(std::chrono::milliseconds(100));
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "data/ZRLocal"));  // not even files are made

    setInstallerReportsEnabled(true);
    reportTaskEvent(L"libcurl初始化失败", defaultAbGroup(), L"", 0);  // before the tracker exists
    reportCrashAndWait(std::chrono::milliseconds(100));
    startTracker(settings());
    stopTracker();
    reportInstallingView(defaultAbGroup());  // after it is gone
    EXPECT_TRUE(m_endpoint.records().empty());
}

TEST(InstallerReportTexts, DownloadFailureTextHasItsFiveParts) {
    DownloadProbes probes{[](const std::wstring&) { return uint64_t{3} * 1073741824 / 2; }, [] { return 7; },
                          [](const std::wstring&) { return false; }};
    EXPECT_EQ(downloadFailureText({1004, L"MD5 mismatch"}, L"/tmp/pkg.exe", probes),
              L"1.code=1004；2.msg=MD5 mismatch；3.缓存磁盘容量=1.50G；4.缓存读写权限=无权限；5.服务器连接状态code=7");
    EXPECT_EQ(failureReasonText({2002.9, L"exit 3"}), L":1.code=2002；2.msg=exit 3");
    EXPECT_EQ(failureReasonText({std::nan(""), L""}), L":1.code=0；2.msg=");
    EXPECT_EQ(failureReasonText({1e300, L""}), L":1.code=0；2.msg=");
    EXPECT_EQ(failureReasonText({1, std::wstring(500, L'x')}).size(), 199u);
}

TEST(InstallerReportTexts, ReadWriteProbe) {
    TempDir dir;
    const auto file = dir.path() / "pkg.exe";
    std::ofstream(file) << "partial";
    EXPECT_TRUE(probeReadWrite(file.wstring()));
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(probeReadWrite((dir.path() / "missing" / "pkg.exe").wstring()));
}

}  // namespace
}  // namespace zerin::analytics::test
