// The usage events of real installer runs on the test display, as the
// statistics collector receives them.
#include <gtest/gtest.h>
#include <json/json.h>

#include <regex>

#include "common/collector_process.h"
#include "common/json_text.h"
#include "mainwnd/e2e_support.h"

using namespace mainwnd_e2e;

namespace {

std::vector<Json::Value> Received(const lexivar::test::CollectorProcess& collector)
{
    std::vector<Json::Value> records;
    for (const std::string& text : collector.Records()) records.push_back(lexivar::test::ParseJson(text));
    return records;
}

// "ZrEventTask 安装成功": the event and the name the installer gave it.
std::string Label(const Json::Value& record)
{
    const Json::Value& p = record["properties"];
    const std::string name = p.isMember("zr_task_name") ? p["zr_task_name"].asString() : p["zr_name"].asString();
    return record["event"].asString() + " " + name;
}

std::vector<std::string> Labels(const std::vector<Json::Value>& records)
{
    std::vector<std::string> labels;
    for (const Json::Value& record : records) labels.push_back(Label(record));
    return labels;
}

std::pair<int, int> DisplaySize()
{
    const auto r = RunProcess({"/usr/bin/xdotool", "getdisplaygeometry"});
    int width = 0;
    int height = 0;
    std::sscanf(r.out.c_str(), "%d %d", &width, &height);
    return {width, height};
}

// The installer's own group and the properties every record of a run carries.
void ExpectGroupAndSuperProperties(const Json::Value& record)
{
    SCOPED_TRACE(Label(record));
    const Json::Value& p = record["properties"];
    EXPECT_EQ(p["zrc_ab"].asString(), "IN");
    EXPECT_EQ(p["zr_app_id"].asString(), "Lexivar.downloader");
    EXPECT_EQ(p["zr_app_store"].asString(), "lexivar-setup");
    EXPECT_EQ(p["zr_dlapp_id"].asString(), "Lexivar");
    EXPECT_EQ(p["zr_edition"].asString(), "china");
    EXPECT_EQ(p["$os"].asString(), "Linux");
    for (const char* key : {"$app_version", "$os_version", "zr_app_platform", "zr_l10n_locale", "zr_sdk_version"})
        EXPECT_FALSE(p[key].asString().empty()) << key;
    const auto [width, height] = DisplaySize();
    EXPECT_EQ(p["$screen_width"].asInt(), width);
    EXPECT_EQ(p["$screen_height"].asInt(), height);
}

class UsageEventsE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveDisplay()) GTEST_SKIP() << "no display";
        UsePrivateRuntimeDir("e2e-usage-runtime");
        m_nginx = ServePackage();
        m_collector = std::make_unique<lexivar::test::CollectorProcess>(ScratchDir("e2e-usage") / "events.jsonl");
    }

    // Clicks "立即安装" against a download that fails, dismisses the retry box
    // and leaves through the exit question; the installer's exit code.
    int FailingInstallation(const std::string& sensors)
    {
        UseScratchHome(("e2e-usage-failure-" + sensors).c_str());
        const pid_t setup = Start({kSetup, "-downloadurl=" + m_nginx->Url("/software/missing"),
                                   "-statsurl=" + m_collector->Url(), "-isenableappsensors=" + sensors});
        EXPECT_GT(setup, 0);
        ChildGuard guard{setup};
        const std::string window = WaitForWindow("^Lexivar$", setup);
        if (window.empty()) return -10;
        ClickAt(window, kDefaultInstallBtn);
        const std::string retryBox = WaitForOtherWindow({window}, setup);
        if (retryBox.empty()) return -11;
        ClickAt(retryBox, kNetworkTipClose);
        // A click on the main window while the box is still up goes nowhere.
        if (!WaitGone(retryBox, setup)) return -13;
        ClickAt(window, kMainCloseBtn);
        const std::string exitBox = WaitForOtherWindow({window, retryBox}, setup);
        if (exitBox.empty()) return -12;
        ClickAt(exitBox, kExitTipYes);
        const int code = WaitExit(setup, 20);
        guard.pid = -1;
        return code;
    }

    std::unique_ptr<lexivar::test::NginxServer> m_nginx;
    std::unique_ptr<lexivar::test::CollectorProcess> m_collector;
};

TEST_F(UsageEventsE2E, SuccessfulInstallationReportsEveryStepInOrder)
{
    const fs::path out = ScratchDir("e2e-usage-success");
    const auto started = std::chrono::steady_clock::now();
    const auto r = RunProcess({std::string(LEXIVAR_SOURCE_DIR) + "/scripts/lib/demo-clicks.sh", kBuild, out.string(),
                               "-downloadurl=" + m_nginx->Url(lexivar::test::kPackageRoute),
                               "-statsurl=" + m_collector->Url()});
    const double runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_EQ(r.exitCode, 0) << r.out;

    const auto records = Received(*m_collector);
    EXPECT_EQ(Labels(records), (std::vector<std::string>{
                                   "ZrEventClick 自定义安装",
                                   "ZrEventClick 立即安装",
                                   "ZrEventView 安装中",
                                   "ZrEventTask 下载器启动",
                                   "ZrEventTask 开始下载大包",
                                   "ZrEventTask 大包下载完毕",
                                   "ZrEventTask 安装成功",
                               }));
    for (const Json::Value& record : records) {
        ExpectGroupAndSuperProperties(record);
        const Json::Value& p = record["properties"];
        if (p["zr_task_name"].asString() == "大包下载完毕") {
            ASSERT_TRUE(p["zr_task_elapsed"].isNumeric());
            EXPECT_GT(p["zr_task_elapsed"].asDouble(), 0.0);
            EXPECT_LT(p["zr_task_elapsed"].asDouble(), runSeconds);
        }
        if (record["event"] == "ZrEventTask") {
            EXPECT_EQ(p["zr_task_result"].asString(), "Success");
        }
    }
}

TEST_F(UsageEventsE2E, DownloadFailureReportsItsFivePartReason)
{
    ASSERT_EQ(FailingInstallation("true"), 0);

    const auto records = Received(*m_collector);
    const std::regex fivePart(
        "1\\.code=-?[0-9]+；2\\.msg=[^；]*；3\\.缓存磁盘容量=[0-9]+\\.[0-9]{2}G；"
        "4\\.缓存读写权限=可读；5\\.服务器连接状态code=-?[0-9]+");
    size_t found = 0;
    for (const Json::Value& record : records) {
        ExpectGroupAndSuperProperties(record);
        const std::string reason = record["properties"]["zr_reason"].asString();
        if (Label(record) == "ZrEventTask 下载失败原因" && std::regex_match(reason, fivePart)) ++found;
    }
    EXPECT_EQ(found, 1u) << ::testing::PrintToString(Labels(records));
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(Label(records[0]), "ZrEventClick 立即安装");
}

TEST_F(UsageEventsE2E, NothingArrivesWithAnalyticsSwitchedOff)
{
    ASSERT_EQ(FailingInstallation("false"), 0);
    EXPECT_TRUE(m_collector->Records().empty());
}

}  // namespace
