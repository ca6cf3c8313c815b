#include "utils/Files.h"
#include "utils/Guid.h"
#include "utils/Registry.h"
#include "utils/ScopedEnv.h"
#include "utils/Text.h"

#include "common/test_files.h"
#include "platform/DebugOutput.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using lexivar::test::ScopedEnv;

namespace {
std::wstring W(const fs::path& p) { return Utils::ToWide(p.string(), Utils::CP_UTF8); }
}  // namespace

TEST(Files, CreateDirectoriesNestedAndLimit)
{
    fs::path root = lexivar::test::ScratchDir("CreateDirectories");
    EXPECT_TRUE(Utils::CreateDirectories(W(root / "a/b/c")));
    EXPECT_TRUE(fs::is_directory(root / "a/b/c"));
    EXPECT_TRUE(Utils::CreateDirectories(W(root / "a/b/c/")));  // already there

    std::wstring base = W(root / "long") + L"/";
    std::wstring tooLong = base + std::wstring(261 - base.size(), L'x');
    ASSERT_EQ(tooLong.size(), 261u);
    EXPECT_FALSE(Utils::CreateDirectories(tooLong));
    EXPECT_FALSE(fs::exists(root / "long"));
    std::wstring fits = tooLong.substr(0, 260);
    EXPECT_TRUE(Utils::CreateDirectories(fits));

    lexivar::test::WriteFile(root / "file", "x");
    EXPECT_FALSE(Utils::CreateDirectories(W(root / "file/sub")));
    EXPECT_FALSE(Utils::CreateDirectories(L""));
}

TEST(Files, FileMd5)
{
    fs::path root = lexivar::test::ScratchDir("FileMd5");
    lexivar::test::WriteFile(root / "empty", "");
    EXPECT_EQ(Utils::FileMd5((root / "empty").string()), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Utils::FileMd5((root / "missing").string()), "");
    EXPECT_EQ(Utils::FileMd5(""), "");
    EXPECT_EQ(Utils::FileMd5(root.string()), "");  // a folder is not a file

    // 3 MiB and a bit: crosses block boundaries.
    std::string expected = lexivar::test::WriteTestFile(root / "big", 3 * 1024 * 1024 + 17);
    EXPECT_EQ(Utils::FileMd5((root / "big").string()), expected);
}

TEST(Files, TempFolderIsPrivateAndStable)
{
    fs::path tmp = lexivar::test::ScratchDir("TempFolder");
    ScopedEnv env("TMPDIR", tmp.string());
    std::wstring first = Utils::GetTempFolder();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, W(tmp) + L"/~ZeRinTemp.92482B06FB471E17/");
    struct stat st{};
    ASSERT_EQ(stat(Utils::ToNarrow(first, Utils::CP_UTF8).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(Utils::GetTempFolder(), first);

    // A loose mode on our own folder is tightened.
    chmod(Utils::ToNarrow(first, Utils::CP_UTF8).c_str(), 0777);
    EXPECT_EQ(Utils::GetTempFolder(), first);
    stat(Utils::ToNarrow(first, Utils::CP_UTF8).c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(Files, TempFolderRefusesPlantedEntries)
{
    fs::path tmp = lexivar::test::ScratchDir("TempFolderPlanted");
    ScopedEnv env("TMPDIR", tmp.string());
    fs::create_directory(tmp / "elsewhere");
    fs::create_directory_symlink(tmp / "elsewhere", tmp / "~ZeRinTemp.92482B06FB471E17");
    EXPECT_EQ(Utils::GetTempFolder(), L"");
    fs::remove(tmp / "~ZeRinTemp.92482B06FB471E17");
    lexivar::test::WriteFile(tmp / "~ZeRinTemp.92482B06FB471E17", "x");
    EXPECT_EQ(Utils::GetTempFolder(), L"");
    if (geteuid() == 0) {
        fs::remove(tmp / "~ZeRinTemp.92482B06FB471E17");
        fs::create_directory(tmp / "~ZeRinTemp.92482B06FB471E17");
        ASSERT_EQ(chown((tmp / "~ZeRinTemp.92482B06FB471E17").c_str(), 65534, 65534), 0);
        EXPECT_EQ(Utils::GetTempFolder(), L"");  // someone else's folder
    }
}

TEST(Files, FreeSpace)
{
    Utils::HardDiskManager disk;
    fs::path root = lexivar::test::ScratchDir("FreeSpace");
    EXPECT_TRUE(disk.CheckFreeSpace(W(root / "not/yet/created")));  // nearest existing ancestor
    EXPECT_GT(disk.m_TotalBytes, 0u);
    EXPECT_LE(disk.m_FreeBytesForCaller, disk.m_TotalFreeBytes);

    std::string logged;
    Platform::SetDebugOutputSink([&](std::string_view line) { logged = line; });
    Utils::HardDiskManager other;
    EXPECT_FALSE(other.CheckFreeSpace(L"Q:"));
    Platform::SetDebugOutputSink({});
    EXPECT_EQ(other.m_TotalBytes, 0u);
    EXPECT_NE(logged.find("HardDiskManager::CheckFreeSpace FAIL code=22\r\n"), std::string::npos) << logged;
}

TEST(Registry, ValuesRoundTripInAReadableFile)
{
    fs::path config = lexivar::test::ScratchDir("Registry");
    ScopedEnv env("XDG_CONFIG_HOME", config.string());
    uint32_t type = 0;
    std::wstring text;
    EXPECT_FALSE(Utils::ReadRegString(L"InstallPath", type, text));

    struct Case {
        const wchar_t* name;
        std::wstring value;
    } cases[] = {{L"InstallPath", L"/opt/Lexivar 中文"}, {L"UnInstallEp", L"a\tb\nc\\d=e"}, {L"Empty", L""}};
    for (const Case& c : cases) ASSERT_TRUE(Utils::WriteRegString(c.name, c.value));
    for (const Case& c : cases) {
        ASSERT_TRUE(Utils::ReadRegString(c.name, type, text)) << c.name;
        EXPECT_EQ(type, Utils::REG_SZ);
        EXPECT_EQ(text, c.value);
    }
    ASSERT_TRUE(Utils::WriteRegString(L"installpath", L"/new"));  // names ignore case
    ASSERT_TRUE(Utils::ReadRegString(L"INSTALLPATH", type, text));
    EXPECT_EQ(text, L"/new");

    std::string file = lexivar::test::ReadFile(config / "ZeRinSoft/Lexivar.reg");
    EXPECT_NE(file.find("UnInstallEp\tREG_SZ\ta\\tb\\nc\\\\d=e\n"), std::string::npos) << file;
}

TEST(Guid, Shape)
{
    for (int i = 0; i < 20; ++i) {
        std::wstring g = Utils::CreateGuidString();
        ASSERT_EQ(g.size(), 32u);
        for (size_t k = 0; k < g.size(); ++k) {
            bool lower = k >= 12 && k < 16;
            EXPECT_TRUE(iswdigit(g[k]) || (lower ? (g[k] >= L'a' && g[k] <= L'f') : (g[k] >= L'A' && g[k] <= L'F')))
                << Utils::ToNarrow(g, Utils::CP_UTF8);
        }
    }
    EXPECT_NE(Utils::CreateGuidString(), Utils::CreateGuidString());
}
