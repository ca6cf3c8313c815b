#include <gtest/gtest.h>

#include <filesystem>

#include "common/test_files.h"
#include "toolkit/language_texts.h"
#include "toolkit/skin_archive.h"
#include "ui/SkinLanguageHost.h"
#include "utils/Language.h"
#include "utils/Text.h"

namespace fs = std::filesystem;
using lexivar::test::ScratchDir;
using lexivar::test::WriteFile;

namespace {

const char* kLanguageFile = R"([
  {"id": 104, "en-US": "Not enough space", "zh-CN": "磁盘空间不足", "zh-TW": "磁碟空間不足"},
  {"id": 7, "en-US": "Install", "zh-TW": "安裝"}
])";

std::wstring Text(const wchar_t* id) { return toolkit::FindLanguageText(id).value_or(L"<none>"); }

class LanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SkinLanguageHost::Attach();
        toolkit::ClearLanguageTexts();
        m_skin = ScratchDir("language-skin");
    }
    void TearDown() override { toolkit::SetCurrentSkinArchive(nullptr); }

    void UseSkin(const std::string& languageFile)
    {
        if (!languageFile.empty()) WriteFile(m_skin / "language.json", languageFile);
        WriteFile(m_skin / "mainWnd.xml", "<Window/>");
        toolkit::SetCurrentSkinArchive(toolkit::SkinArchive::FromDirectory(m_skin));
    }

    fs::path m_skin;
};

struct RefreshCounter final : Utils::LanguageView {
    int refreshed = 0;
    void RefreshLanguageLayout() override { ++refreshed; }
};

}  // namespace

TEST_F(LanguageTest, InstalledProductKeepsItsLanguage)
{
    UseSkin(kLanguageFile);
    struct Case {
        const char* config;  // nullptr: no config.ini at all
        int index;
        const wchar_t* text104;
    };
    const Case cases[] = {
        {"[Install]\nLanguage=zh-TW\n", 2, L"磁碟空間不足"},
        {"[Install]\nLanguage=zh-CN\n", 1, L"磁盘空间不足"},
        {"[Install]\nLanguage=fr-FR\n", 0, L"Not enough space"},
        {"[Other]\nLanguage=zh-TW\n", 0, L"Not enough space"},
        {nullptr, 0, L"Not enough space"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config ? c.config : "no config.ini");
        const fs::path product = ScratchDir("language-product");
        if (c.config) WriteFile(product / "config.ini", c.config);
        RefreshCounter view;
        const int index =
            Utils::LoadLanguageFromConfig(Utils::ToWide(product.string(), Utils::CP_UTF8), &view);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(Text(L"104"), c.text104);
        EXPECT_EQ(view.refreshed, 1);
    }
}

TEST_F(LanguageTest, IndexChoiceAndMissingMembers)
{
    UseSkin(kLanguageFile);
    EXPECT_EQ(Utils::LoadLanguage(1, L""), 1);
    EXPECT_EQ(Text(L"104"), L"磁盘空间不足");
    EXPECT_EQ(Text(L"7"), L"");  // no "zh-CN" member: an empty text, not the old one
    EXPECT_EQ(Utils::LoadLanguage(7, L""), 0);
    EXPECT_EQ(Text(L"7"), L"Install");
    EXPECT_EQ(Utils::LoadLanguage(0, L"zh-TW"), 2);
    EXPECT_EQ(Text(L"7"), L"安裝");
}

TEST_F(LanguageTest, UnusableFilesRegisterNothing)
{
    struct Case {
        const char* what;
        std::string file;
        int index;  // what LoadLanguage(1, "") gives
    };
    const Case cases[] = {
        {"no language file", "", 0},
        {"not JSON", "{\"id\": 104, \"en-US\": ", 1},
        {"over 4 MiB", std::string(5u << 20, ' '), 0},
        {"a scalar root", "42", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        toolkit::ClearLanguageTexts();
        fs::remove(m_skin / "language.json");
        UseSkin(c.file);
        EXPECT_EQ(Utils::LoadLanguage(1, L""), c.index);
        EXPECT_FALSE(toolkit::FindLanguageText(L"104"));
    }
}

TEST(LanguageParse, JunkEntriesAreSkippedNotFatal)
{
    auto texts = Utils::ParseLanguageTexts(
        R"([1, "x", [2], {"id": "104"}, {"id": 1e30}, {"id": 5, "en-US": {"a": 1}}, {"id": 6, "en-US": 3}, {"en-US": "z"}])",
        0);
    ASSERT_TRUE(texts);
    const std::vector<std::pair<std::wstring, std::wstring>> expected{{L"5", L""}, {L"6", L"3"}, {L"0", L"z"}};
    EXPECT_EQ(*texts, expected);
    EXPECT_FALSE(Utils::ParseLanguageTexts("[", 0));
    EXPECT_FALSE(Utils::ParseLanguageTexts(std::string(5000, '[') + std::string(5000, ']'), 0));
}
