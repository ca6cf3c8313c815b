#include <gtest/gtest.h>

#include "toolkit/fixture.h"
#include "toolkit/skin_archive.h"
#include "toolkit/text.h"

using namespace toolkit;

namespace {

const std::vector<std::byte>& SampleSkin()
{
    static const auto skin = fixture::Make7z({{"mainWnd.xml", "<Window/>"},
                            {"exitTipWnd.xml", "<Window/>"},
                            {"empty.xml", ""},
                            {"big.xml", std::string(SkinArchive::kMaxLayoutBytes + 1, ' ')},
                            {"res/mainWnd/bg1.png", "bg1"},
                            {"res/mainWnd/chDirBtn1.png", "chdir"}});
    return skin;
}

}  // namespace

TEST(SkinArchive, LookupIgnoresCaseAndSeparator)
{
    const auto& skin = SampleSkin();
    auto archive = SkinArchive::FromMemory(skin);
    ASSERT_TRUE(archive);
    struct Case {
        const wchar_t* ask;
        const char* want;
    } cases[] = {
        {L"MainWnd.xml", "mainWnd.xml"},
        {L"ExitTipWnd.xml", "exitTipWnd.xml"},
        {L"res\\mainWnd\\bg1.png", "res/mainWnd/bg1.png"},
        {L"res/mainWnd/chDirBtn1.png", "res/mainWnd/chDirBtn1.png"},
        {L"RES\\MAINWND\\CHDIRBTN1.PNG", "res/mainWnd/chDirBtn1.png"},
        {L"res\\common\\minbtn4.png", nullptr},
    };
    for (const auto& c : cases) {
        const auto* e = archive->Find(c.ask);
        if (!c.want) {
            EXPECT_EQ(e, nullptr);
            continue;
        }
        ASSERT_NE(e, nullptr) << c.want;
        EXPECT_EQ(e->name, FromUtf8(c.want));
    }
}

TEST(SkinArchive, LayoutsEmptyOrOver4MiBAreRefused)
{
    const auto& skin = SampleSkin();
    auto archive = SkinArchive::FromMemory(skin);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->ReadLayout(L"MainWnd.xml"), "<Window/>");
    EXPECT_FALSE(archive->ReadLayout(L"empty.xml"));
    EXPECT_FALSE(archive->ReadLayout(L"big.xml"));
    EXPECT_FALSE(archive->ReadLayout(L"missing.xml"));
}

TEST(SkinArchive, DamagedBytesFailCleanly)
{
    const auto& skin = SampleSkin();
    EXPECT_FALSE(SkinArchive::FromMemory({}));
    std::string text = "this is not an archive at all";
    EXPECT_FALSE(SkinArchive::FromMemory(std::as_bytes(std::span(text))));
    for (size_t cut : {size_t{6}, size_t{32}, skin.size() / 2, skin.size() - 1})
        EXPECT_FALSE(SkinArchive::FromMemory(std::span(skin).first(cut))) << cut;
}

TEST(SkinArchive, SecondOpenReusesTheFirst)
{
    const auto& skin = SampleSkin();
    auto first = OpenSharedSkinArchive(skin);
    auto second = OpenSharedSkinArchive(skin);
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(CurrentSkinArchive(), first);
}
