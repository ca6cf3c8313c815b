// The real installer executable reporting to an endpoint of the test: the
// crash report arrives before the process dies, and with analytics switched
// off nothing arrives and nothing is written.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>

#include "app/AnalyticsReports.h"
#include "common/child_process.h"
#include "download/FailureReason.h"
#include "support/stats_endpoint.h"
#include "support/temp_dir.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

class InstallerProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The child inherits these: its own data and lock folders, and a forced crash.
        setenv("XDG_DATA_HOME", (m_dir.path() / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", m_dir.path().c_str(), 1);
        setenv("LEXIVAR_TEST_CRASH", "1", 1);
        // The crash report runs from a signal handler by design (under a
        // watchdog); a thread-sanitized child would otherwise stop at its first
        // allocation there. Every other report stays on.
        const char* tsan = std::getenv("TSAN_OPTIONS");
        setenv("TSAN_OPTIONS", (std::string(tsan ? tsan : "") + " report_signal_unsafe=0").c_str(), 1);
        // The forced crash needs no core file.
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
    }
    void TearDown() override {
        unsetenv("LEXIVAR_TEST_CRASH");
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("XDG_DATA_HOME");
    }
    lexivar::test::ProcessResult run(const std::string& sensors) {
        return lexivar::test::RunProcess({std::string(LEXIVAR_BUILD_DIR) + "/lexivar-setup",
                                          "-statsurl=" + m_endpoint.url(), "-isenableappsensors=" + sensors});
    }

    TempDir m_dir;
    StatsEndpoint m_endpoint;
};

TEST_F(InstallerProcessTest, CrashIsReportedBeforeTheProcessEnds) {
    const auto result = run("true");
    EXPECT_EQ(result.exitCode, -1);  // ended by the signal, not by a normal exit
    std::vector<std::string> names;
    for (const auto& text : m_endpoint.records()) {
        const Json::Value record = ParseJson(text);
        names.push_back(record["event"].asString() + "/" + record["properties"]["zr_task_name"].asString() +
                        record["properties"]["app_crashed_reason"].asString());
        EXPECT_EQ(record["properties"]["zr_app_id"].asString(), "Lexivar.downloader");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ZrEventTask/崩溃退出", "AppCrashed/崩溃"}));
}

TEST_F(InstallerProcessTest, NothingWithAnalyticsSwitchedOff) {
    const auto result = run("false");
    EXPECT_EQ(result.exitCode, -1);
    EXPECT_EQ(m_endpoint.requests(), 0u);
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "data/ZRLocal"));
}

}  // namespace
}  // namespace zerin::analytics::test

namespace zerin::analytics::test {
namespace {

TEST_F(InstallerProcessTest, EntryAndDownloadPointsReportThroughTheHooks) {
    EntryHooks hooks;
    AttachAnalyticsReports(hooks);
    InstallerSettings settings;
    const std::string url = m_endpoint.url();
    settings.StatsUrl = std::wstring(url.begin(), url.end());
    settings.ExeName = L"lexivar-setup";

    hooks.TransferFailureReport();  // before the tracker exists: held
    hooks.AnalyticsStart(settings);
    download_report::ReportFailureReason(download_report::LengthStatusReason(404));
    hooks.AnalyticsStop();
    download_report::ReportFailureReason(download_report::LengthStatusReason(500));  // after: dropped

    std::vector<std::string> reports;
    for (const auto& text : m_endpoint.records()) {
        const Json::Value p = ParseJson(text)["properties"];
        reports.push_back(p["zr_task_name"].asString() + "|" + p["zr_reason"].asString() + "|" + p["zrc_ab"].asString());
    }
    EXPECT_EQ(reports, (std::vector<std::string>{"libcurl初始化失败||IN", "下载失败原因|1.获取文件大小的状态码为=404；|IN"}));
}

}  // namespace
}  // namespace zerin::analytics::test
