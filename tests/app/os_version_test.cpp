#include "utils/OsVersion.h"

#include "platform/OsRelease.h"

#include <gtest/gtest.h>

TEST(OsVersion, WindowsNames)
{
    struct Case {
        uint32_t major, minor, build;
        bool r2;
        const wchar_t* name;
    } cases[] = {
        {0, 0, 0, false, L"XP-"},  {4, 9, 0, false, L"XP-"},   {5, 0, 0, false, L"2K"},
        {5, 1, 0, false, L"XP"},   {5, 2, 0, false, L"Server 2003"}, {5, 2, 0, true, L"Server 2003 R2"},
        {5, 3, 0, false, L"XP+"},  {6, 0, 0, false, L"Vista"}, {6, 1, 0, false, L"7"},
        {6, 2, 0, false, L"8"},    {6, 3, 0, false, L"8.1"},   {6, 4, 0, false, L"8.1+"},
        {10, 0, 22000, false, L"10"}, {10, 1, 0, false, L"10+"},
        {11, 0, 22000, false, L"11.0.22000"}, {7, 1, 0x12345, false, L"7.1.9029"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utils::WindowsVersionName(c.major, c.minor, c.build, c.r2), c.name);
}

TEST(OsVersion, RunningSystemIsReportedTruthfully)
{
    auto release = Platform::ParseOsRelease("NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\nPRETTY_NAME='D 12'\n");
    EXPECT_EQ(release.name, "Debian GNU/Linux");
    EXPECT_EQ(release.versionId, "12");
    EXPECT_EQ(release.prettyName, "D 12");
    std::wstring platform, name;
    Utils::GetOsVersionName(platform, name);
    EXPECT_EQ(platform, L"Linux");
}
