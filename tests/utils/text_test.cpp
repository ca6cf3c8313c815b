#include "utils/Text.h"

#include <gtest/gtest.h>

using namespace Utils;

TEST(Text, CodePageRoundTrips)
{
    struct Case {
        unsigned int codePage;
        std::string bytes;
        std::wstring text;
    } cases[] = {
        {936, "\xD6\xD0\xCE\xC4", L"中文"},
        {950, "\xA4\xA4\xA4\xE5", L"中文"},
        {1252, "caf\xE9", L"café"},
        {CP_UTF8, "\xE4\xB8\xAD", L"中"},
        {CP_ACP, "\xC3\xA9", L"é"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToWide(c.bytes, c.codePage), c.text) << c.codePage;
        EXPECT_EQ(ToNarrow(c.text, c.codePage), c.bytes) << c.codePage;
    }
}

TEST(Text, ConversionEdges)
{
    EXPECT_EQ(ToWide("", CP_UTF8), L"");
    EXPECT_EQ(ToWide(std::string("ab\0cd", 5), CP_UTF8), L"ab");  // ends at the first zero
    EXPECT_EQ(ToWide("a\xFF" "b", CP_UTF8), L"a\xFFFD" L"b");
    EXPECT_EQ(ToNarrow(L"a中b", 1252), "a?b");
    EXPECT_EQ(ToWide("\xE4\xB8", CP_UTF8), L"\xFFFD\xFFFD");  // truncated sequence
    EXPECT_EQ(Utf8ToAnsi("\xE4\xB8\xAD"), "\xE4\xB8\xAD");
}

TEST(Text, Trim)
{
    EXPECT_EQ(Trim(L" \t\r\n\v\fa b \r\n"), L"a b");
    EXPECT_EQ(TrimLeft(L"  a "), L"a ");
    EXPECT_EQ(TrimRight(L"  a \r\n"), L"  a");
    EXPECT_EQ(Trim(L" \t "), L"");
    EXPECT_EQ(Trim(L"\x3000x"), L"\x3000x");  // only the C library's six
}

TEST(Text, UrlEncode)
{
    EXPECT_EQ(UrlEncode(L"a b"), L"a+b");
    EXPECT_EQ(UrlEncode(L"é"), L"%C3%A9");
    EXPECT_EQ(UrlEncode(L"http://h/p?a=1&b=%2+"), L"http://h/p?a=1&b=%2+");
    EXPECT_EQ(UrlEncode(L"\t\x7F"), L"%09%7F");
}

TEST(Text, UrlParentSegment)
{
    EXPECT_EQ(UrlParentSegment("http://h/pkg/0123abcd/setup.exe"), "0123abcd");
    EXPECT_EQ(UrlParentSegment("setup.exe"), "");
    EXPECT_EQ(UrlParentSegment("a/setup.exe"), "");
    EXPECT_EQ(UrlParentSegment(""), "");
    EXPECT_EQ(UrlParentSegment("/x/"), "x");
}

TEST(Text, ReplaceAll)
{
    EXPECT_EQ(ReplaceAll(L"x${ROUTE}y${ROUTE}", L"${ROUTE}", L"r"), L"xryr");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"z"), L"abc");
    EXPECT_EQ(ReplaceAll(L"aa", L"a", L"aa"), L"aaaa");  // a replacement holding the pattern ends
}

TEST(Text, Numbers)
{
    struct Case {
        const wchar_t* text;
        NumberParse result;
        int32_t value;
    } ints[] = {
        {L"  42abc", NumberParse::Ok, 42}, {L"-7", NumberParse::Ok, -7},     {L"abc", NumberParse::NotANumber, 0},
        {L"", NumberParse::NotANumber, 0}, {L"99999999999", NumberParse::OutOfRange, INT32_MAX},
        {L"-99999999999", NumberParse::OutOfRange, INT32_MIN},
    };
    for (const Case& c : ints) {
        int32_t v = 12345;
        EXPECT_EQ(ParseInt32(c.text, v), c.result) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    double d = 0;
    EXPECT_EQ(ParseDouble(L" 0.25x", d), NumberParse::Ok);
    EXPECT_DOUBLE_EQ(d, 0.25);
    EXPECT_EQ(ParseDouble(L"", d), NumberParse::NotANumber);
    EXPECT_EQ(ParseDouble(L"1e999", d), NumberParse::OutOfRange);
}
