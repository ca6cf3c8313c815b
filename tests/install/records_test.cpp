#include <gtest/gtest.h>

#include <regex>

#include "common/test_files.h"
#include "install/Records.h"
#include "platform/PrivateProfile.h"
#include "utils/ScopedEnv.h"

namespace fs = std::filesystem;
using lexivar::test::ScopedEnv;

namespace {

// Points the registry store and the known folders at a scratch folder.
class RecordsTest : public testing::Test {
protected:
    std::wstring Path(const std::string& relative) const { return (m_root / relative).wstring(); }
    std::string Ini(const std::string& file, const char* section, const char* key) const {
        return Platform::GetPrivateProfileStringA(section, key, "<none>", 300, (m_root / file).string());
    }

    fs::path m_root = lexivar::test::ScratchDir(
        "records " + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    ScopedEnv m_config{"XDG_CONFIG_HOME", (m_root / "config").string()};
    ScopedEnv m_data{"XDG_DATA_HOME", (m_root / "data").string()};
    ScopedEnv m_home{"HOME", (m_root / "home").string()};
};

}  // namespace

TEST_F(RecordsTest, NoRecordsMeansDefaultFolderFromTheAdminFlags) {
    const InstallRecords none = ReadInstallRecords();
    EXPECT_TRUE(none.registeredInstallPath.empty());
    EXPECT_TRUE(none.registeredUninstEp.empty());
    EXPECT_EQ(GetDefaultInstallDir(none, true, true), Path("data/kavro/Lexivar"));
    const std::wstring programFiles = GetDefaultInstallDir(none, true, false);
    EXPECT_EQ(programFiles, GetDefaultInstallDir(none, false, true));
    EXPECT_TRUE(programFiles.ends_with(L"opt/Lexivar")) << std::string(programFiles.begin(), programFiles.end());
}

TEST_F(RecordsTest, RegistryRoundTripAndUninstallerFallback) {
    const std::wstring folder = Path("my apps/Lexivar");
    std::wstring uninst;
    WriteInstallRegistry(folder, uninst);  // no uninstaller there yet: only the folder is recorded
    EXPECT_EQ(uninst, folder + L"/uninst.ep");
    InstallRecords r = ReadInstallRecords();
    EXPECT_EQ(r.registeredInstallPath, folder);
    EXPECT_EQ(r.registeredUninstEp, folder + L"/uninst.ep");
    // The recorded folder is the default only while its uninstaller exists.
    EXPECT_EQ(GetDefaultInstallDir(r, true, true), Path("data/kavro/Lexivar"));
    fs::create_directories(m_root / "my apps/Lexivar/bin");
    lexivar::test::WriteFile(m_root / "my apps/Lexivar/uninst.ep", "x");
    EXPECT_EQ(GetDefaultInstallDir(r, true, true), folder);

    std::wstring reported = folder + L"/bin/remove";
    lexivar::test::WriteFile(m_root / "my apps/Lexivar/bin/remove", "x");
    WriteInstallRegistry(folder, reported);
    EXPECT_EQ(ReadInstallRecords().registeredUninstEp, reported);
}

TEST_F(RecordsTest, FolderComparisonsAndKeepingThePreviousVersion) {
    EXPECT_TRUE(IsDefaultInstallDir(L"/opt/Lexivar/", L"/opt/Lexivar"));
    EXPECT_TRUE(IsDefaultInstallDir(L"/opt/./Lexivar", L"/opt/Lexivar"));
    EXPECT_FALSE(IsDefaultInstallDir(L"/opt/Lexivar/sub", L"/opt/Lexivar"));
    EXPECT_FALSE(IsDefaultInstallDir(L"/opt/lexivar", L"/opt/Lexivar"));

    const std::wstring folder = Path("inst");
    fs::create_directories(m_root / "inst");
    struct Case {
        const char* setIni;  // nullptr: no file
        std::wstring registered, target;
        bool keeps;
    };
    const Case cases[] = {
        {"[Uninstall]\nIsOverride=false\n", folder, folder + L"/", true},
        {"[Uninstall]\nIsOverride=true\n", folder, folder, false},
        {"[Uninstall]\n", folder, folder, false},
        {nullptr, folder, folder, false},
        {"[Uninstall]\nIsOverride=false\n", folder, Path("elsewhere"), false},
        {"[Uninstall]\nIsOverride=false\n", L"", folder, false},
        {"\x01\xFF[[garbage\nIsOverride=false\n", folder, folder, false},
    };
    for (const auto& c : cases) {
        fs::remove(m_root / "inst/set.ini");
        if (c.setIni) lexivar::test::WriteFile(m_root / "inst/set.ini", c.setIni);
        EXPECT_EQ(KeepsPreviousVersion(c.registered, c.target), c.keeps) << (c.setIni ? c.setIni : "(none)");
    }
}

TEST_F(RecordsTest, SetIniAndAnalyticsTimestamp) {
    fs::create_directories(m_root / "inst");
    lexivar::test::WriteFile(m_root / "inst/set.ini", "[Uninstall]\nIsOverride=false\n");
    WriteSetIni(Path("inst"), L"lexivar-setup");
    EXPECT_EQ(Ini("inst/set.ini", "Install", "APPStore"), "lexivar-setup");
    EXPECT_EQ(Ini("inst/set.ini", "Install", "AppName"), "Lexivar");
    EXPECT_TRUE(std::regex_match(Ini("inst/set.ini", "Install", "DeviceID"), std::regex("[0-9A-F]{12}[0-9a-f]{4}[0-9A-F]{16}")));
    EXPECT_EQ(Ini("inst/set.ini", "Uninstall", "IsOverride"), "false");
    const std::wstring analytics = GetAnalyticsDataDir();
    EXPECT_EQ(analytics, Path("data/ZeRinData/Lexivar"));
    EXPECT_EQ(Ini("inst/set.ini", "Install", "ZRAnalyticsIni"), (m_root / "data/ZeRinData/Lexivar/ZRAnalytics.ini").string());
    EXPECT_TRUE(std::regex_match(Ini("data/ZeRinData/Lexivar/ZRAnalytics.ini", "Init", "UpdateTime"),
                                 std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
}

TEST_F(RecordsTest, AnalyticsEntriesSkippedWhenTheFolderCannotBeMade) {
    lexivar::test::WriteFile(m_root / "data", "a file where the folder should be");
    fs::create_directories(m_root / "inst");
    WriteSetIni(Path("inst"), L"setup");
    EXPECT_EQ(Ini("inst/set.ini", "Install", "AppName"), "Lexivar");
    EXPECT_EQ(Ini("inst/set.ini", "Install", "ZRAnalyticsIni"), "<none>");
}
