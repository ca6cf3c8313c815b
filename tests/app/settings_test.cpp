#include "app/InstallerSettings.h"

#include "common/test_files.h"
#include "utils/CommandLine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Builds the record for an executable in a fresh folder, with the given settings file (if any).
InstallerSettings SettingsWith(const std::string& name, const std::optional<std::string>& ini)
{
    fs::path dir = lexivar::test::ScratchDir("Settings_" + name);
    if (ini) lexivar::test::WriteFile(dir / "ZerinInstallerConfig.ini", *ini);
    return InstallerSettings((dir / "setup.exe").string());
}

}  // namespace

TEST(Settings, DefaultsWithoutFile)
{
    InstallerSettings s = SettingsWith("none", std::nullopt);
    EXPECT_EQ(s.ProductName, L"Lexivar");
    EXPECT_EQ(s.Version, L"1.7.9");
    EXPECT_EQ(s.ExeName, L"setup.exe");
    EXPECT_EQ(s.DownloadType, 1);
    EXPECT_FALSE(s.IsCheckNet);
    EXPECT_TRUE(s.IsEnableAppSensors);
    EXPECT_DOUBLE_EQ(s.DownloadScale, 0.7);
    EXPECT_EQ(s.DownloadUrl, L"https://download.lexivar.example/software/364");
    EXPECT_EQ(s.DlAppNameSuffix, L".downloader");
    EXPECT_TRUE(s.CurlUsable);
    EXPECT_FALSE(s.InsNew);
    EXPECT_EQ(s.LanguageIndex, 0);

    InstallerSettings noFolder("setup.exe");  // no folder to look in
    EXPECT_EQ(noFolder.ExeName, L"setup.exe");
    EXPECT_EQ(noFolder.DownloadType, 1);
}

TEST(Settings, FileLayer)
{
    struct Case {
        const char* name;
        std::string ini;
        int type;
        bool checkNet;
        bool sensors;
        double scale;
    } cases[] = {
        {"empty_section", "[Install]\n", 1, true, true, 0.7},
        {"empty_file", "", 1, true, true, 0.7},
        {"capital_true", "[Install]\nIsCheckNet=True\nIsEnableAppSensors=TRUE\n", 1, false, false, 0.7},
        {"empty_scale", "[Install]\nDownloadScale=\n", 1, true, true, 0.0},
        {"text_scale", "[Install]\nDownloadScale=abc\nDownloadType=abc\n", 0, true, true, 0.0},
        {"out_of_range", "[Install]\nDownloadScale=1e999\nDownloadType=99999999999\n", 1, true, true, 0.7},
        {"values", "[install]\ndownloadtype=2\nischecknet=false\nDownloadScale=0.5\n", 2, false, true, 0.5},
        {"binary_garbage", std::string("\0\xff[\x01]=\n\n[Install\n=\n", 20), 1, true, true, 0.7},
    };
    for (const Case& c : cases) {
        InstallerSettings s = SettingsWith(c.name, c.ini);
        EXPECT_EQ(s.DownloadType, c.type) << c.name;
        EXPECT_EQ(s.IsCheckNet, c.checkNet) << c.name;
        EXPECT_EQ(s.IsEnableAppSensors, c.sensors) << c.name;
        EXPECT_DOUBLE_EQ(s.DownloadScale, c.scale) << c.name;
    }
}

TEST(Settings, FileTexts)
{
    InstallerSettings s = SettingsWith("texts",
                                       "[Install]\nDownloadUrl=http://h/${ROUTE}/setup.exe\nDlAppNameSuffix=.web\n"
                                       "DlAppVersion=ignored\nm_DlAppVersion=2.0\nInstCmd=/S\n"
                                       "StatsUrl=http://127.0.0.1:8080/collect?project=pc\n");
    EXPECT_EQ(s.DownloadUrl, L"http://h/download_silent/setup.exe");
    EXPECT_EQ(s.DlAppNameSuffix, L".web");
    EXPECT_EQ(s.DlAppVersion, L"2.0");
    EXPECT_EQ(s.InstCmd, L"/S");
    EXPECT_EQ(s.StatsUrl, L"http://127.0.0.1:8080/collect?project=pc");
    EXPECT_EQ(SettingsWith("no_stats", "[Install]\n").StatsUrl, kDefaultStatsUrl);

    InstallerSettings cut = SettingsWith("long", "[Install]\nInstCmd=" + std::string(400, 'x') + "\n");
    EXPECT_EQ(cut.InstCmd.size(), 259u);
}

TEST(Settings, CommandLineLayer)
{
    InstallerSettings s = SettingsWith("cmd", "[Install]\nDownloadUrl=http://file/x\nDownloadType=2\n");
    s.ApplyCommandLine(Utils::CommandLine(
        L"setup.exe -downloadtype=3 -downloadtype=1 -DownloadScale=0.1 -insnew -ischecknet=true "
        L"-isenableappsensors=yes -dlappnamesuffix=.web -dlappversion=1.2 \"-instcmd=/S /D=a b\" -language=2 "
        L"-downloadurl=http://cmd/${ROUTE}/${ROUTE} -statsurl=http://127.0.0.1:9/collect?project=pc"));
    EXPECT_EQ(s.DownloadType, 3);
    EXPECT_DOUBLE_EQ(s.DownloadScale, 0.7);  // wrong case is not our option
    EXPECT_FALSE(s.InsNew);                  // "-insnew" alone is false
    EXPECT_TRUE(s.IsCheckNet);
    EXPECT_FALSE(s.IsEnableAppSensors);
    EXPECT_EQ(s.ProductName + s.DlAppNameSuffix, L"Lexivar.web");
    EXPECT_EQ(s.DlAppVersion, L"1.2");
    EXPECT_EQ(s.InstCmd, L"/S /D=a b");
    EXPECT_EQ(s.LanguageIndex, 2);
    EXPECT_EQ(s.DownloadUrl, L"http://cmd/download_silent/download_silent");
    EXPECT_EQ(s.StatsUrl, L"http://127.0.0.1:9/collect?project=pc");

    s.ApplyCommandLine(Utils::CommandLine(L"p -insnew=true -downloadscale=abc -language=99999999999 -downloadtype=x"));
    EXPECT_TRUE(s.InsNew);
    EXPECT_DOUBLE_EQ(s.DownloadScale, 0.7);  // not a number keeps the value
    EXPECT_EQ(s.LanguageIndex, 2);           // out of range keeps the value
    EXPECT_EQ(s.DownloadType, 0);            // not a number gives 0
    s.ApplyCommandLine(Utils::CommandLine(L"p -downloadscale=0.25 \"-downloadurl"));
    EXPECT_DOUBLE_EQ(s.DownloadScale, 0.25);
    EXPECT_EQ(s.DownloadUrl, L"");
}

TEST(Settings, DownloadRoute)
{
    struct Case {
        std::wstring address;
        std::wstring version;
        std::wstring expected;
    } cases[] = {
        {L"http://h/${ROUTE}/setup.exe", L"7", L"http://h/download_silent/setup.exe"},
        {L"http://h/${ROUTE}/setup.exe", L"10", L"http://h/download_silent/setup.exe"},
        {L"http://h/${ROUTE}/setup.exe", L"XP", L"http://h/download_silent_xp/setup.exe"},
        {L"http://h/${ROUTE}/setup.exe", L"XP-", L"http://h/download_silent_xp/setup.exe"},
        {L"http://h/${ROUTE}/setup.exe", L"Server 2003 R2", L"http://h/download_silent/setup.exe"},
        {L"http://h/${ROUTE}/${ROUTE}", L"XP+", L"http://h/download_silent_xp/download_silent_xp"},
        {L"http://h/plain", L"XP", L"http://h/plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolveDownloadRoute(c.address, c.version), c.expected);
}
