#include <gtest/gtest.h>

#include "package/ini_file.hpp"
#include "package/options.hpp"

#include <filesystem>
#include <fstream>

using lexivar::package::ParseOptions;

TEST(PackageOptions, InstallerCommandLineWithBlankFolderAfterD) {
  auto o = ParseOptions({"/S", "-console=show", "-version=1.0.0", "-adminact=true", "-authorizationact=false",
                         "-dsc=true", "-ssc=false", "-inslang=zh-TW", "--extra", "-instdir=/opt/my apps/Lexivar",
                         "/D=/opt/my", "apps/Lexivar"},
                        "/D=");
  EXPECT_TRUE(o.m_silent);
  EXPECT_TRUE(o.m_console);
  EXPECT_TRUE(o.Flag("adminact"));
  EXPECT_FALSE(o.Flag("authorizationact"));
  EXPECT_TRUE(o.Flag("dsc"));
  EXPECT_FALSE(o.Flag("ssc"));
  EXPECT_EQ(o.Get("inslang"), "zh-TW");
  EXPECT_EQ(o.Get("instdir"), "/opt/my apps/Lexivar");
  ASSERT_TRUE(o.m_hasTailFolder);
  EXPECT_EQ(o.m_tailFolder, "/opt/my apps/Lexivar");
}

TEST(PackageOptions, UninstallerFolderAfterQuestionSwitchTakesTheRest) {
  auto o = ParseOptions({"/S", "-adminact=false", "-authorizationact=true", "-console=show", "_?=/a", "b", "/D=c"},
                        "_?=");
  EXPECT_TRUE(o.m_console);
  EXPECT_EQ(o.m_tailFolder, "/a b /D=c");
  auto none = ParseOptions({"/S"}, "_?=");
  EXPECT_FALSE(none.m_hasTailFolder);
  EXPECT_FALSE(none.m_console);
  EXPECT_FALSE(none.Flag("dsc"));  // only the exact text "true" counts
}

TEST(PackageIni, WritesKeepOtherLinesAndMatchNamesIgnoringCase) {
  auto file = std::filesystem::path(testing::TempDir()) / "pkg_ini_test.ini";
  {
    std::ofstream out(file, std::ios::trunc);
    out << "; note\n[install]\nlanguage = en-US\nOther=1\n\n[Uninstall]\nIsOverride=false\n";
  }
  EXPECT_EQ(lexivar::package::IniRead(file, "Uninstall", "isoverride", "true"), "false");
  ASSERT_TRUE(lexivar::package::IniWrite(file, "Install", "Language", "zh-CN"));
  ASSERT_TRUE(lexivar::package::IniWrite(file, "New", "Key", "v"));
  EXPECT_EQ(lexivar::package::IniRead(file, "INSTALL", "Language", ""), "zh-CN");
  EXPECT_EQ(lexivar::package::IniRead(file, "Install", "Other", ""), "1");
  EXPECT_EQ(lexivar::package::IniRead(file, "New", "Key", ""), "v");
  EXPECT_EQ(lexivar::package::IniRead(file, "Missing", "Key", "dflt"), "dflt");
  std::ifstream in(file);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "; note");
  std::filesystem::remove(file);
}
