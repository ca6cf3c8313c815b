// The rules every name and string value passes before it reaches a record.
#include "event_sdk/properties.h"
#include "event_sdk/sdk_fixture.h"
#include "event_sdk/validation.h"

namespace event_sdk::test {
namespace {

TEST(NameRule, AcceptsVariableNamesOnly) {
    const std::string tooLong = "The Event Name is empty or too long, max length is 100";
    const std::string invalid = "The Event Name need to be a valid variable name.";
    struct Case {
        std::string name;
        std::string message;
    };
    const Case cases[] = {
        {"a", ""},
        {"$SignUp", ""},
        {"_private", ""},
        {"Z9_$", ""},
        {std::string(100, 'x'), ""},
        {"", tooLong},
        {std::string(101, 'x'), tooLong},
        {"1abc", invalid},
        {"a-b", invalid},
        {"a b", invalid},
        {"a.b", invalid},
        {"\xC3\xA9t\xC3\xA9", invalid},
        {std::string("a\0b", 3), invalid},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckName(c.name, "Event Name"), c.message) << c.name;
}

TEST(NameRule, EveryByteValueInEveryPosition) {
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool letter = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '$' || b == '_';
        const bool digit = b >= '0' && b <= '9';
        EXPECT_EQ(CheckName(std::string(1, c), "K").empty(), letter) << b;
        EXPECT_EQ(CheckName(std::string("k") + c, "K").empty(), letter || digit) << b;
    }
}

TEST(LengthRule, OneTo255Bytes) {
    EXPECT_EQ(CheckLength("", "Original ID"), "The Original ID is empty.");
    EXPECT_EQ(CheckLength(std::string(255, 'x'), "Original ID"), "");
    EXPECT_EQ(CheckLength(std::string(256, 'x'), "Original ID"), "The Original ID is too long, max length is 255.");
}

TEST(Utf8Rule, StrictTable) {
    struct Case {
        const char* what;
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"printable ASCII", " ~azAZ09", true},
        {"tab, line feed, carriage return", "\t\n\r", true},
        {"0x01", "\x01", false},
        {"0x7F", "\x7F", false},
        {"NUL", std::string(1, '\0'), false},
        {"two bytes lowest", "\xC2\x80", true},
        {"two bytes highest", "\xDF\xBF", true},
        {"overlong two bytes C0", "\xC0\xAF", false},
        {"overlong two bytes C1", "\xC1\xBF", false},
        {"three bytes E0 lowest", "\xE0\xA0\x80", true},
        {"overlong three bytes", "\xE0\x9F\xBF", false},
        {"CJK", "\xE4\xB8\xAD\xE6\x96\x87", true},
        {"last before surrogates", "\xED\x9F\xBF", true},
        {"surrogate", "\xED\xA0\x80", false},
        {"high surrogate end", "\xED\xBF\xBF", false},
        {"after surrogates", "\xEE\x80\x80", true},
        {"U+FFFF", "\xEF\xBF\xBF", true},
        {"four bytes F0 lowest", "\xF0\x90\x80\x80", true},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", false},
        {"emoji", "\xF0\x9F\x98\x80", true},
        {"U+10FFFF", "\xF4\x8F\xBF\xBF", true},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"FF", "\xFF", false},
        {"lone continuation", "\x80", false},
        {"cut two bytes", "a\xC3", false},
        {"cut three bytes", "\xE4\xB8", false},
        {"cut four bytes", "\xF0\x9F\x98", false},
        {"missing continuation", "\xE4" "a" "\xAD", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.what;
}

TEST(StringValues, RefusedValuesLeaveTheSetUnchangedAndSayWhy) {
    ErrorCapture errors;
    PropertiesNode node;
    EXPECT_TRUE(node.SetString("k", "kept"));
    EXPECT_TRUE(node.SetString("max", std::string(8192, 'x')));
    EXPECT_FALSE(node.SetString("k", std::string(8193, 'y')));
    EXPECT_FALSE(node.SetString("k", "bad\x01"));
    EXPECT_FALSE(node.SetString("new", "\xC3"));
    EXPECT_EQ(node.ToJson(), "{\"k\":\"kept\",\"max\":\"" + std::string(8192, 'x') + "\"}");
    EXPECT_EQ(errors.Lines(), (std::vector<std::string>{
                                  "String property 'k' is too long, value: " + std::string(8193, 'y'),
                                  "String property 'k' is not valid UTF-8 string, value: bad\x01",
                                  "String property 'new' is not valid UTF-8 string, value: \xC3",
                              }));
}

TEST(StringValues, MergeLetsTheOtherSetWin) {
    PropertiesNode base, other;
    base.SetInt("a", 1);
    base.SetInt("b", 1);
    other.SetString("b", "two");
    other.SetBool("c", true);
    base.Merge(other);
    EXPECT_EQ(base.ToJson(), R"({"a":1,"b":"two","c":true})");
}

}  // namespace
}  // namespace event_sdk::test
