#include "platform/PrivateProfile.h"

#include "common/test_files.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using Platform::FindProfileValue;

TEST(PrivateProfile, Lookup)
{
    const std::string content =
        "\xEF\xBB\xBF; comment\r\n"
        "[Other]\r\nDownloadType=9\r\n"
        "  [ install ]  \r\n"
        "  downloadtype = 2 \r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Empty=\r\n"
        "NoEquals\r\n"
        "DownloadType=3\r\n"
        "[Next\n"
        "Key=v\n";
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    } cases[] = {
        {"Install", "DownloadType", "2"},  // case-insensitive, first wins, blanks trimmed
        {"INSTALL", "quoted", "  spaced  "},
        {"Install", "Empty", ""},
        {"Install", "NoEquals", std::nullopt},
        {"Install", "Key", std::nullopt},
        {"Other", "DownloadType", "9"},
        {"Next", "Key", "v"},
        {"Missing", "Key", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(FindProfileValue(content, c.section, c.key), c.value) << c.key;
}

TEST(PrivateProfile, ReadsCutToTheBufferAndDefaults)
{
    fs::path dir = lexivar::test::ScratchDir("ProfileRead");
    std::string path = (dir / "a.ini").string();
    EXPECT_EQ(Platform::GetPrivateProfileStringW(L"S", L"K", L"def", 260, path), L"def");  // no file
    lexivar::test::WriteFile(path, "[S]\nK=" + std::string(300, 'x') + "\nW=\xE4\xB8\xAD\xE6\x96\x87\n");
    EXPECT_EQ(Platform::GetPrivateProfileStringW(L"s", L"k", L"", 260, path), std::wstring(259, L'x'));
    EXPECT_EQ(Platform::GetPrivateProfileStringW(L"S", L"W", L"", 2, path), L"中");  // characters, not bytes
    EXPECT_EQ(Platform::GetPrivateProfileStringA("S", "K", "", 5, path), "xxxx");
}

TEST(PrivateProfile, WritesKeepOtherLines)
{
    fs::path dir = lexivar::test::ScratchDir("ProfileWrite");
    std::string path = (dir / "set.ini").string();
    std::wstring v1 = L"C:/x", v2 = L"zh-CN";
    std::wstring k1 = L"InstallPath", k2 = L"Language";
    ASSERT_TRUE(Platform::WritePrivateProfileStringW(L"Install", &k1, &v1, path));  // creates the file
    EXPECT_EQ(lexivar::test::ReadFile(path), "[Install]\nInstallPath=C:/x\n");

    lexivar::test::WriteFile(path, "; keep me\r\n[Install]\r\ninstallpath=old\r\nOther = 1\r\n\r\n[Tail]\r\nX=1\r\n");
    ASSERT_TRUE(Platform::WritePrivateProfileStringW(L"install", &k1, &v1, path));
    ASSERT_TRUE(Platform::WritePrivateProfileStringW(L"Install", &k2, &v2, path));
    ASSERT_TRUE(Platform::WritePrivateProfileStringW(L"New", &k2, &v2, path));
    EXPECT_EQ(lexivar::test::ReadFile(path),
              "; keep me\r\n[Install]\r\nInstallPath=C:/x\r\nOther = 1\r\nLanguage=zh-CN\r\n\r\n[Tail]\r\nX=1\r\n"
              "[New]\r\nLanguage=zh-CN\r\n");

    ASSERT_TRUE(Platform::WritePrivateProfileStringW(L"Install", &k2, nullptr, path));   // delete a key
    ASSERT_TRUE(Platform::WritePrivateProfileStringW(L"Tail", nullptr, nullptr, path));  // delete a section
    EXPECT_EQ(lexivar::test::ReadFile(path),
              "; keep me\r\n[Install]\r\nInstallPath=C:/x\r\nOther = 1\r\n\r\n[New]\r\nLanguage=zh-CN\r\n");

    std::wstring injected = L"x\r\n[Evil]\r\nk=v";
    EXPECT_FALSE(Platform::WritePrivateProfileStringW(L"Install", &k1, &injected, path));
    EXPECT_EQ(Platform::GetPrivateProfileStringW(L"Install", L"InstallPath", L"", 260, path), L"C:/x");
}
