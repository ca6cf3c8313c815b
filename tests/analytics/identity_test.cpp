#include <filesystem>
#include <fstream>
#include <regex>

#include "analytics/ZrException.h"
#include "platform/PrivateProfile.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

class IdentityTest : public TrackerTest {
protected:
    std::string configPath() const {
        return (m_dir.path() / "data/ZRLocal/Lexivar.downloader/Lexivar.downloader_ZRSConfigure.ini").string();
    }
    std::string stored(const char* section, const char* key) const {
        return Platform::GetPrivateProfileStringA(section, key, "<none>", 4096, configPath());
    }
    void writeConfig(const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(configPath()).parent_path());
        std::ofstream(configPath()) << text;
    }
};

TEST_F(IdentityTest, FirstRunCreatesTheConfigurationWithOneGuid) {
    auto& tracker = start();
    const std::string id = stored("Base", "DistinctId");
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}"))) << id;
    EXPECT_EQ(stored("Base", "PrimaryDistinctId"), id);
    EXPECT_EQ(stored("Base", "isLogined"), "NG");
    EXPECT_EQ(stored("Base", "URL"), info().serverUrl);
    EXPECT_EQ(stored("UninstallInfo", "AppStore"), "lexivar-setup");
    EXPECT_EQ(tracker.getPrimaryDistinctId(), id);
    // The track log sits beside the configuration and starts empty.
    const auto log = m_dir.path() / "data/ZRLocal/Lexivar.downloader/Lexivar.downloader_ZRSLog.txt";
    EXPECT_TRUE(std::filesystem::exists(log));
    EXPECT_EQ(std::filesystem::file_size(log), 0u);

    tracker.trackClick(clickNamed("x"), nullptr);
    EXPECT_EQ(lastRecord()["distinct_id"].asString(), id);

    // The next run keeps the id.
    m_tracker.reset();
    event_sdk::Sdk::Shutdown();
    EXPECT_EQ(start().getPrimaryDistinctId(), id);
}

TEST_F(IdentityTest, AnotherEndpointResetsToThePrimaryId) {
    writeConfig("[Base]\nDistinctId=user-42\nPrimaryDistinctId=DEVICE-1\nUserId=user-42\nisLogined=OK\n"
                "URL=https://elsewhere.example/collect\n");
    start();
    EXPECT_EQ(stored("Base", "DistinctId"), "DEVICE-1");
    EXPECT_EQ(stored("Base", "UserId"), "");
    EXPECT_EQ(stored("Base", "isLogined"), "NG");
    EXPECT_EQ(stored("Base", "URL"), info().serverUrl);
    EXPECT_FALSE(m_tracker->trackerState().isLogined);
}

TEST_F(IdentityTest, LoginStateReadsOnlyExactOK) {
    writeConfig("[Base]\nDistinctId=D1\nUserId=u1\nisLogined=ok\nURL=" + info().serverUrl + "\n");
    start();
    EXPECT_FALSE(m_tracker->trackerState().isLogined);
    EXPECT_EQ(m_tracker->trackerState().primaryDistinctId, "D1");  // taken from the distinct id
}

TEST_F(IdentityTest, LoginSignsUpOnceAndSaves) {
    auto& tracker = start();
    ZrUserInfo user;
    user.userId = "u-7";
    user.vipLevel = 3;
    tracker.trackLogin(user, true, "", nullptr);
    tracker.trackLogin(user, true, "", nullptr);
    int signups = 0;
    for (const auto& r : records()) signups += r["type"].asString() == "track_signup" ? 1 : 0;
    EXPECT_EQ(signups, 1);
    EXPECT_EQ(stored("Base", "UserId"), "u-7");
    EXPECT_EQ(stored("Base", "isLogined"), "OK");
    EXPECT_EQ(stored("Base", "UserVipLevel"), "3");
    tracker.trackClick(clickNamed("after"), nullptr);
    const Json::Value last = lastRecord();
    EXPECT_EQ(last["distinct_id"].asString(), "u-7");
    EXPECT_EQ(last["properties"]["zr_user_id"].asString(), "u-7");
    EXPECT_TRUE(last["properties"]["$is_login_id"].asBool());
}

TEST_F(IdentityTest, SetIniPointerNamesTheConfigurationFile) {
    const auto exe = m_dir.path() / "exe";
    const auto target = m_dir.path() / "installed/a/b/ZRAnalytics.ini";
    std::filesystem::create_directories(exe);
    std::ofstream(exe / "Set.ini") << "[Install]\nZRAnalyticsIni=" << target.string() << "\n";
    start();
    EXPECT_EQ(m_tracker->trackerState().configPath, target.string());
    EXPECT_EQ(m_tracker->trackerState().dataFolder, target.parent_path().string() + "/");
    EXPECT_TRUE(std::filesystem::exists(target));
}

TEST_F(IdentityTest, JunkAndOversizedValuesStillGiveAUsableIdentity) {
    writeConfig("\x01\x02garbage\n[Base\nDistinctId=" + std::string(10 * 1024 * 1024, 'x') + "\n");
    auto& tracker = start();
    EXPECT_FALSE(tracker.getPrimaryDistinctId().empty());
    EXPECT_LE(tracker.getPrimaryDistinctId().size(), 127u);
    tracker.trackClick(clickNamed("x"), nullptr);
    EXPECT_EQ(lastRecord()["event"].asString(), "ZrEventClick");
}

TEST_F(IdentityTest, UnwritableDataFolderKeepsTheIdInMemory) {
    std::filesystem::create_directories(m_dir.path());
    std::ofstream(m_dir.path() / "data") << "a file where the folder should be";
    auto& tracker = start();
    EXPECT_FALSE(tracker.getPrimaryDistinctId().empty());
    tracker.trackClick(clickNamed("x"), nullptr);
    EXPECT_EQ(lastRecord()["distinct_id"].asString(), tracker.getPrimaryDistinctId());
}

TEST_F(IdentityTest, InitChecksTheApplicationFields) {
    for (auto [field, message] : {std::pair{&TrackerInitInfo::appName, "appName is empty"},
                                  std::pair{&TrackerInitInfo::appVersion, "appVersion is empty"},
                                  std::pair{&TrackerInitInfo::appStore, "appStore is empty"}}) {
        TrackerInitInfo i = info();
        i.*field = "";
        UsageTrackerImpl tracker(i, roots(), observedHooks());
        try {
            tracker.init();
            ADD_FAILURE() << "init accepted " << message;
        } catch (const ZrException& e) {
            EXPECT_STREQ(e.what(), message);
            EXPECT_EQ(e.operation(), "init");
        }
        EXPECT_FALSE(tracker.initialized());
        EXPECT_EQ(tracker.getTrackLogger(), nullptr);
    }
    EXPECT_FALSE(event_sdk::Sdk::IsInitialized());
}

}  // namespace
}  // namespace zerin::analytics::test
