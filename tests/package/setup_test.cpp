// The built package installer and uninstaller run as real child processes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "package/ini_file.hpp"
#include "run_child.hpp"

namespace fs = std::filesystem;

namespace {

const fs::path kPackage = fs::path(LEXIVAR_BUILD_DIR) / "package/LexivarSetup.exe";

class SetupTest : public testing::Test {
 protected:
  void SetUp() override {
    m_root = fs::path(testing::TempDir()) / ("setup test " + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(m_root);
    fs::create_directories(m_root / "home");
    m_env = {{"HOME", (m_root / "home").string()}, {"XDG_DATA_HOME", ""}, {"XDG_DESKTOP_DIR", ""}};
  }
  void TearDown() override { fs::remove_all(m_root); }

  ChildResult Install(const fs::path& folder, bool shortcuts, const std::string& lang = "") {
    std::vector<std::string> argv = {kPackage.string(), "/S", "-console=show", "-version=1.0.0",
                                     "-adminact=false", "-authorizationact=false",
                                     shortcuts ? "-dsc=true" : "-dsc=false", shortcuts ? "-ssc=true" : "-ssc=false"};
    if (!lang.empty()) argv.push_back("-inslang=" + lang);
    argv.push_back("-instdir=" + folder.string());
    // The folder after "/D=" arrives split at its blanks, as the launcher splits it.
    std::string d = "/D=" + folder.string();
    for (std::size_t pos; (pos = d.find(' ')) != std::string::npos; d = d.substr(pos + 1)) argv.push_back(d.substr(0, pos));
    argv.push_back(d);
    return RunChild(argv, m_env);
  }

  ChildResult Uninstall(const fs::path& program, const fs::path& folder) {
    return RunChild({program.string(), "/S", "-adminact=false", "-authorizationact=false", "-console=show",
                     "_?=" + folder.string()},
                    m_env);
  }

  fs::path m_root;
  std::map<std::string, std::string> m_env;
};

}  // namespace

TEST_F(SetupTest, InstallsIntoFolderWithBlanksAndUninstallRemovesExactlyThat) {
  const fs::path folder = m_root / "my apps/Lexivar";
  auto r = Install(folder, true, "zh-CN");
  ASSERT_EQ(r.m_exitCode, 0) << r.m_output;
  EXPECT_EQ(r.m_output.rfind("Encode=UTF8\nProgress=0.000\n", 0), 0u) << r.m_output;
  for (const std::string& line : {"InstPath=" + folder.string(), "ExePath=" + (folder / "lexivar.exe").string(),
                                 "UninstEp=" + (folder / "uninst.ep").string(), std::string("StartupStyle=UserStartup")})
    EXPECT_NE(r.m_output.find(line + "\n"), std::string::npos) << line;
  EXPECT_TRUE(r.m_output.ends_with("State=Success\n"));

  EXPECT_TRUE(fs::exists(folder / "lexivar.exe"));
  EXPECT_NE(fs::status(folder / "uninst.ep").permissions() & fs::perms::owner_exec, fs::perms::none);
  EXPECT_EQ(lexivar::package::IniRead(folder / "config.ini", "Install", "Language", ""), "zh-CN");
  EXPECT_EQ(lexivar::package::IniRead(folder / "set.ini", "Uninstall", "IsOverride", ""), "true");
  const fs::path desktop = m_root / "home/Desktop/lexivar.desktop";
  const fs::path menu = m_root / "home/.local/share/applications/lexivar.desktop";
  ASSERT_TRUE(fs::exists(desktop));
  ASSERT_TRUE(fs::exists(menu));
  std::ifstream entry(desktop);
  std::string text((std::istreambuf_iterator<char>(entry)), {});
  EXPECT_NE(text.find("Exec=\"" + (folder / "lexivar.exe").string() + "\""), std::string::npos) << text;

  // A file of the user's in the folder survives; the uninstaller runs from a copy elsewhere.
  std::ofstream(folder / "notes.txt") << "mine";
  fs::copy_file(folder / "uninst.ep", m_root / "Lexivar_un_asa.exe");
  auto u = Uninstall(m_root / "Lexivar_un_asa.exe", folder);
  ASSERT_EQ(u.m_exitCode, 0) << u.m_output;
  EXPECT_TRUE(u.m_output.ends_with("State=Success\n")) << u.m_output;
  EXPECT_FALSE(fs::exists(desktop));
  EXPECT_FALSE(fs::exists(menu));
  std::vector<fs::path> left;
  for (const auto& e : fs::recursive_directory_iterator(m_root / "my apps")) left.push_back(e.path());
  EXPECT_EQ(left, std::vector<fs::path>({folder, folder / "notes.txt"}));
}

TEST_F(SetupTest, ReinstallKeepsIsOverrideAndDefaultsTheLanguage) {
  const fs::path folder = m_root / "Lexivar";
  fs::create_directories(folder);
  lexivar::package::IniWrite(folder / "set.ini", "Uninstall", "IsOverride", "false");
  auto r = Install(folder, false);
  ASSERT_EQ(r.m_exitCode, 0) << r.m_output;
  EXPECT_EQ(lexivar::package::IniRead(folder / "set.ini", "Uninstall", "IsOverride", ""), "false");
  EXPECT_EQ(lexivar::package::IniRead(folder / "config.ini", "Install", "Language", ""), "en-US");
  EXPECT_FALSE(fs::exists(m_root / "home/Desktop"));
}

TEST_F(SetupTest, UnwritableFolderReportsErrorAndFail) {
  std::ofstream(m_root / "a file") << "x";
  auto r = Install(m_root / "a file/Lexivar", false);
  EXPECT_EQ(r.m_exitCode, 1);
  EXPECT_NE(r.m_output.find("\nError="), std::string::npos) << r.m_output;
  EXPECT_TRUE(r.m_output.ends_with("State=Fail\n")) << r.m_output;
}

TEST_F(SetupTest, UninstallWithoutRecordTouchesNothing) {
  const fs::path folder = m_root / "not installed";
  fs::create_directories(folder);
  std::ofstream(folder / "lexivar.exe") << "someone else's";
  auto u = Uninstall(fs::path(LEXIVAR_BUILD_DIR) / "package/uninst.ep", folder);
  EXPECT_EQ(u.m_exitCode, 1);
  EXPECT_NE(u.m_output.find("\nError="), std::string::npos) << u.m_output;
  EXPECT_TRUE(fs::exists(folder / "lexivar.exe"));
}
