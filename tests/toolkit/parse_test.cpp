#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "toolkit/image_desc.h"
#include "toolkit/text.h"

using namespace toolkit;

TEST(Parse, Colours)
{
    struct Case {
        const wchar_t* text;
        std::optional<uint32_t> want;
    } cases[] = {
        {L"#FF1675FE", 0xFF1675FEu}, {L"0xFFF5FAFE", 0xFFF5FAFEu}, {L"26003B76", 0x26003B76u},
        {L"#26003b76", 0x26003B76u}, {L"#FFFFFF", 0xFFFFFFFFu},    {L"#FF16", std::nullopt},
        {L"#GG1675FE", std::nullopt}, {L"", std::nullopt},         {L"#FF1675FE00", std::nullopt},
        {L"0x", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseColour(c.text), c.want) << ToUtf8(c.text);
}

TEST(Parse, IntegersAndLists)
{
    EXPECT_EQ(ToInt(L" 42px"), 42);
    EXPECT_EQ(ToInt(L"-7"), -7);
    EXPECT_EQ(ToInt(L"junk"), 0);
    EXPECT_EQ(ToInt(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseIntList(L"0,0,0,35", 4), (std::vector<int>{0, 0, 0, 35}));
    EXPECT_EQ(ParseIntList(L" 1, -2 ,3,4 ", 4), (std::vector<int>{1, -2, 3, 4}));
    for (const wchar_t* bad : {L"1,2,3", L"1,2,3,4,5", L"a,b,c,d", L"1,,3,4", L"1,2,3,4x", L"12345678901,0,0,0"})
        EXPECT_FALSE(ParseIntList(bad, 4)) << ToUtf8(bad);
}

TEST(Parse, Utf8RoundTripAndDamage)
{
    std::wstring text = L"温馨提示 Lexivar \U0001F600";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xC3"), L"a\xFFFD");
    EXPECT_EQ(FromUtf8("\xFF\xFE"), L"\xFFFD\xFFFD");
}

TEST(ImageDescription, BareAndKeyedForms)
{
    auto bare = ParseImageDesc(L"res\\mainWnd\\bg1.png");
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->file, L"res\\mainWnd\\bg1.png");
    EXPECT_FALSE(bare->dest);

    auto full = ParseImageDesc(
        L"file='res\\mainWnd\\Cb1.png' dest='0,2,15,16' corner='4,4,4,4' mask='#FF00FF' fade='128' hole='true' "
        L"xtiled='true' ytiled='false' hsl='true' res='x'");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->file, L"res\\mainWnd\\Cb1.png");
    EXPECT_EQ(full->dest, (Rect{0, 2, 15, 16}));
    EXPECT_EQ(full->corner, (Rect{4, 4, 4, 4}));
    EXPECT_EQ(full->mask, 0xFFFF00FFu);
    EXPECT_EQ(full->fade, 128);
    EXPECT_TRUE(full->hole);
    EXPECT_TRUE(full->xtiled);
    EXPECT_FALSE(full->ytiled);

    auto junkNumbers = ParseImageDesc(L"file='a.png' dest='x,y' fade='999'");
    ASSERT_TRUE(junkNumbers);
    EXPECT_FALSE(junkNumbers->dest);
    EXPECT_EQ(junkNumbers->fade, 255);

    for (const wchar_t* bad : {L"file='a.png", L"file='a.png' dest", L"='a.png'", L"file=a.png'"})
        EXPECT_FALSE(ParseImageDesc(bad)) << ToUtf8(bad);
}
