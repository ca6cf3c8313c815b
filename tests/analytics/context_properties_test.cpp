#include <gtest/gtest.h>

#include <ctime>

#include "analytics/ZrContextProperties.h"
#include "analytics/ZrException.h"

namespace zerin::analytics {
namespace {

std::string abFailure(const std::string& value) {
    try {
        return ZrContextProperties::isValidABValue(value) ? "valid" : "invalid";
    } catch (const ZrException& e) {
        EXPECT_EQ(e.operation(), "isValidABValue");
        return e.what();
    }
}

TEST(ZrContextProperties, ABRule) {
    const struct {
        const char* value;
        const char* outcome;
    } cases[] = {
        {"IN", "valid"},
        {"A", "valid"},
        {"Z9Z", "valid"},
        {"", "invalid"},
        {"ABCD", "value's length is great than 3."},
        {"1A", "First char is not in A to Z"},
        {"a", "First char is not in A to Z"},
        {"A-", "second char is not in A to Z and 0 to 9"},
        {"Ab", "second char is not in A to Z and 0 to 9"},
        {"AB_", "third char is not in A to Z and 0 to 9"},
        {"\xE5\xAE\x89", "First char is not in A to Z"},  // one CJK character is three bytes
    };
    for (const auto& c : cases) EXPECT_EQ(abFailure(c.value), c.outcome) << c.value;
}

TEST(ZrContextProperties, PropertiesLandInTheirEventLists) {
    ZrContextProperties props;
    props.setProperty("zrc_ab", std::string("IN"), {ZrEventType::Task, ZrEventType::Click});
    props.setProperty("flag", true, {ZrEventType::Task});
    ASSERT_EQ(props.getEventProperties(ZrEventType::Task).size(), 2u);
    const auto& click = props.getEventProperties(ZrEventType::Click);
    ASSERT_EQ(click.size(), 1u);
    EXPECT_EQ(click[0].key, "zrc_ab");
    EXPECT_EQ(click[0].kind, ZrContextProperties::Kind::String);
    EXPECT_EQ(std::get<std::string>(*click[0].value), "IN");
    // One value object is shared by every list that received the property.
    EXPECT_EQ(click[0].value, props.getEventProperties(ZrEventType::Task)[0].value);
    EXPECT_TRUE(props.getEventProperties(ZrEventType::View).empty());
}

TEST(ZrContextProperties, DuplicateKeyAndOverflowAreRefused) {
    ZrContextProperties props;
    props.setProperty("zrc_ab", std::string("IN"), {ZrEventType::Task});
    try {
        props.setProperty("zrc_ab", std::string("B"), {ZrEventType::View});
        FAIL() << "duplicate accepted";
    } catch (const ZrException& e) {
        EXPECT_STREQ(e.what(), "Property[zrc_ab] already exist!");
        EXPECT_EQ(e.operation(), "setProperty");
    }
    EXPECT_TRUE(props.getEventProperties(ZrEventType::View).empty());

    try {
        props.setProperty("other", std::string("x"), {ZrEventType::Task, static_cast<ZrEventType>(15)});
        FAIL() << "overflow accepted";
    } catch (const ZrException& e) {
        EXPECT_STREQ(e.what(), "ZrEvent[15] overflow!");
    }
    // The type listed before the bad one keeps its entry.
    EXPECT_EQ(props.getEventProperties(ZrEventType::Task).size(), 2u);
    try {
        props.getEventProperties(static_cast<ZrEventType>(15));
        FAIL() << "overflow accepted";
    } catch (const ZrException& e) {
        EXPECT_EQ(e.operation(), "getEventProperties");
    }
}

TEST(ZrContextProperties, TimeInSecondsAndMillisecondsGiveTheSameText) {
    const int64_t seconds = 1700000000;  // 2023-11-14
    const std::string fromSeconds = formatLocalTime({seconds});
    EXPECT_EQ(fromSeconds, formatLocalTime({seconds * 1000}));
    EXPECT_EQ(fromSeconds.substr(fromSeconds.size() - 4), ".000");
    EXPECT_EQ(formatLocalTime({seconds * 1000 + 250}).substr(fromSeconds.size() - 4), ".250");

    std::time_t t = seconds;
    std::tm local{};
    localtime_r(&t, &local);
    char expected[32];
    std::strftime(expected, sizeof expected, "%Y-%m-%d %H:%M:%S", &local);
    EXPECT_EQ(fromSeconds, std::string(expected) + ".000");
}

}  // namespace
}  // namespace zerin::analytics
