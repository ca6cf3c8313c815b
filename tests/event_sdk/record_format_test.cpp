// Records as the statistics server receives them, byte for byte.
#include <cstdlib>
#include <ctime>

#include "event_sdk/json_writer.h"
#include "event_sdk/record_builder.h"
#include "event_sdk/sdk_fixture.h"

namespace event_sdk::test {
namespace {

constexpr const char* kLib = R"("lib":{"$lib":"cpp","$lib_method":"code","$lib_version":"0.9"})";
constexpr const char* kSuper = R"("$lib":"cpp","$lib_version":"0.9")";

// 2022-03-01 12:00:00 UTC
constexpr int64_t kMarchFirst = 1646136000;

TEST(PropertyJson, ValuesAreWrittenInTheirFixedForms) {
    struct Case {
        PropertyValue value;
        const char* json;
    };
    PropertiesNode nested;
    nested.SetInt("z", 1);
    nested.SetBool("a", false);
    const Case cases[] = {
        {PropertyValue::Number(0.1), "0.1"},
        {PropertyValue::Number(12.5), "12.5"},
        {PropertyValue::Number(1234567.0), "1.23457e+06"},
        {PropertyValue::Number(0.000012345678), "1.23457e-05"},
        {PropertyValue::Number(-3.0), "-3"},
        {PropertyValue::Number(1.0 / 0.0), "null"},
        {PropertyValue::Integer(1234567), "1234567"},
        {PropertyValue::Integer(INT64_MIN), "-9223372036854775808"},
        {PropertyValue::String("tab\tquote\"back\\slash"), R"("tab\tquote\"back\\slash")"},
        {PropertyValue::String("\b\f\n\r"), R"("\b\f\n\r")"},
        {PropertyValue::String("\x01 \x7f é"), "\"\\u0001 \x7f é\""},
        {PropertyValue::List({"a", "b\"c"}), R"(["a","b\"c"])"},
        {PropertyValue::List({}), "[]"},
        {PropertyValue::Bool(true), "true"},
        {PropertyValue::Object(nested), R"({"a":false,"z":1})"},
    };
    for (const auto& c : cases) {
        std::string out;
        c.value.AppendJson(out);
        EXPECT_EQ(out, c.json);
    }
}

TEST(PropertyJson, KeysFollowByteOrderAndUnsetValuesAreSkipped) {
    PropertiesNode node;
    node.SetInt("b", 2);
    node.SetInt("_a", 1);
    node.SetInt("$x", 0);
    node.SetInt("B", 3);
    node.SetString("\xC3\xA9", "high byte sorts last");
    node.Set("unset", PropertyValue());
    node.SetInt("b", 4);  // replaces
    EXPECT_EQ(node.ToJson(), R"({"$x":0,"B":3,"_a":1,"b":4,"é":"high byte sorts last"})");
}

TEST(PropertyJson, DateTimeIsLocalTimeWithMilliseconds) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "CST-8", 1);  // eight hours east of UTC, no daylight saving
    tzset();
    std::string out;
    AppendJsonDateTime(out, {kMarchFirst, 7});
    EXPECT_EQ(out, "\"2022-03-01 20:00:00.007\"");
    PropertiesNode node;
    node.SetDateTime("t", kMarchFirst, 1250);  // whole seconds carried out of the milliseconds
    EXPECT_EQ(node.ToJson(), "{\"t\":\"2022-03-01 20:00:01.250\"}");
    if (saved) setenv("TZ", previous.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(TrackId, HasTwoRandomPartsAndTheTimesLastFourDigits) {
    std::mt19937 random(42);
    for (int i = 0; i < 200; ++i) {
        const int64_t id = MakeTrackId(random, 1646136001234 + i);
        EXPECT_GE(id, 0);
        EXPECT_LT(id, 1'000'000'000);
        EXPECT_EQ(id % 10000, (1234 + i) % 10000);
        EXPECT_LE(id / 10'000'000, 98);
        EXPECT_LE(id / 10000 % 1000, 998);
    }
}

class RecordTest : public SdkTest {};

TEST_F(RecordTest, EveryRecordKindHasItsLayout) {
    Init("device-1");
    PropertiesNode timed;
    timed.SetDateTime("$time", kMarchFirst, 250);
    timed.SetInt("a", 1);
    Sdk::Track("Viewed", timed);
    PropertiesNode withProject;
    withProject.SetDateTime("$time", kMarchFirst, 0);
    withProject.SetString("$project", "pc");
    withProject.SetNumber("price", 12.5);
    Sdk::Track("_Bought", withProject);
    PropertiesNode profile;
    profile.SetDateTime("$time", kMarchFirst, 0);
    profile.SetString("name", "x");
    Sdk::ProfileSet(profile);
    Sdk::ProfileSetOnce(profile);
    Sdk::ProfileIncrement(profile);

    const std::string head = R"({"_track_id":0,"distinct_id":"device-1",)";
    const std::vector<std::string> expected = {
        head + R"("event":"Viewed",)" + kLib + R"(,"properties":{)" + kSuper +
            R"(,"a":1},"time":1646136000250,"type":"track"})",
        head + R"("event":"_Bought",)" + kLib + R"(,"project":"pc","properties":{)" + kSuper +
            R"(,"price":12.5},"time":1646136000000,"type":"track"})",
        head + kLib + R"(,"properties":{"name":"x"},"time":1646136000000,"type":"profile_set"})",
        head + kLib + R"(,"properties":{"name":"x"},"time":1646136000000,"type":"profile_set_once"})",
        head + kLib + R"(,"properties":{"name":"x"},"time":1646136000000,"type":"profile_increment"})",
    };
    EXPECT_EQ(Records(), expected);
    EXPECT_TRUE(m_errors.Lines().empty());
}

TEST_F(RecordTest, RecordsWithoutTimeAreStampedNow) {
    Init();
    const int64_t before = CurrentTimeMilliseconds();
    Sdk::TrackLaunch();
    const int64_t after = CurrentTimeMilliseconds();
    ASSERT_EQ(Records().size(), 1u);
    const std::string record = Sdk::QueuedRecords()[0];
    std::smatch time;
    ASSERT_TRUE(std::regex_search(record, time, std::regex(R"("time":(\d+),"type":"track"\}$)")));
    EXPECT_GE(std::stoll(time[1]), before);
    EXPECT_LE(std::stoll(time[1]), after);
    EXPECT_NE(record.find(R"("event":"ZrEventLaunch")"), std::string::npos);
}

TEST_F(RecordTest, SignUpSwitchesToTheLoginIdForEveryLaterRecord) {
    Init("device-1");
    PropertiesNode timed;
    timed.SetDateTime("$time", kMarchFirst, 0);
    Sdk::ProfileSet(timed);  // before: no login flag
    Sdk::SignUp("user-7");
    Sdk::Track("After", timed);
    Sdk::ProfileAppend("tags", "first");

    const auto records = Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].find("$is_login_id"), std::string::npos);
    EXPECT_EQ(records[1].substr(0, records[1].find(",\"properties\"")),
              std::string(R"({"_track_id":0,"distinct_id":"user-7","event":"$SignUp",)") + kLib +
                  R"(,"original_id":"device-1")");
    EXPECT_NE(records[2].find(R"("distinct_id":"user-7")"), std::string::npos);
    EXPECT_NE(records[2].find(R"("$is_login_id":true,"$lib")"), std::string::npos);
    EXPECT_NE(records[3].find(R"("properties":{"$is_login_id":true,"tags":["first"]})"), std::string::npos);
    EXPECT_EQ(records[3].find("\"event\""), std::string::npos);
}

TEST_F(RecordTest, SuperPropertiesReachTrackRecordsOnlyAndLoseToGivenOnes) {
    Init("u", true);
    PropertiesNode super;
    super.SetString("channel", "store");
    super.SetInt("level", 1);
    Sdk::RegisterSuperProperties(super);
    PropertiesNode given;
    given.SetInt("level", 2);
    given.SetDateTime("$time", kMarchFirst, 0);
    Sdk::Track("E", given);
    Sdk::TrackActivity(given);
    Sdk::ProfileIncrement(given);

    const auto records = Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_NE(records[0].find(R"("properties":{"$is_login_id":true,"$lib":"cpp","$lib_version":"0.9","channel":"store","level":2})"),
              std::string::npos);
    EXPECT_NE(records[1].find(R"("$ios_install_source":"")"), std::string::npos);
    EXPECT_NE(records[1].find(R"("event":"ZrEventActivity")"), std::string::npos);
    EXPECT_NE(records[2].find(R"("properties":{"$is_login_id":true,"level":2})"), std::string::npos);
}

TEST_F(RecordTest, InvalidRecordsAreDroppedWithTheirMessage) {
    Init();
    PropertiesNode badProject;
    badProject.SetInt("$project", 5);
    PropertiesNode badTime;
    badTime.SetString("$time", "yesterday");
    PropertiesNode badKey;
    badKey.SetInt(std::string(101, 'k'), 1);
    PropertiesNode fine;
    fine.SetInt("ok", 1);

    Sdk::Track("Fine", badProject);
    Sdk::Track("Fine", badTime);
    Sdk::ProfileSet(badKey);
    Sdk::Track("9lives", fine);
    Sdk::Track("with-hyphen", fine);
    Sdk::Track("", fine);
    Sdk::Track("$ok", fine);
    Sdk::Track("_ok", fine);

    EXPECT_EQ(Records().size(), 2u);
    const std::vector<std::string> expected = {
        "The property '$project' should be String type.",
        "The property '$time' should be DateTime type.",
        "The Property Key is empty or too long, max length is 100",
        "The Event Name need to be a valid variable name.",
        "The Event Name need to be a valid variable name.",
        "The Event Name is empty or too long, max length is 100",
    };
    EXPECT_EQ(m_errors.Lines(), expected);
}

TEST_F(RecordTest, InitChecksTheDistinctIdAndOperationsBeforeInitDoNothing) {
    Sdk::Track("Early", PropertiesNode());
    EXPECT_FALSE(Sdk::Flush());
    EXPECT_FALSE(Sdk::Init(m_stagingPath, "http://127.0.0.1:9/", "", false));
    EXPECT_FALSE(Sdk::Init(m_stagingPath, "http://127.0.0.1:9/", std::string(256, 'd'), false));
    EXPECT_FALSE(Sdk::IsInitialized());
    EXPECT_TRUE(Sdk::Init(m_stagingPath, "http://127.0.0.1:9/", std::string(255, 'd'), false));
    EXPECT_TRUE(Sdk::Init(m_stagingPath, "http://127.0.0.1:9/", "other", false));  // kept as it was
    Sdk::TrackLaunch();
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_NE(Records()[0].find(std::string(255, 'd')), std::string::npos);
    EXPECT_EQ(m_errors.Lines(), (std::vector<std::string>{"The Distinct ID is empty.",
                                                          "The Distinct ID is too long, max length is 255."}));
    Sdk::Shutdown();
    Sdk::TrackLaunch();
    EXPECT_TRUE(Sdk::QueuedRecords().empty());
}

}  // namespace
}  // namespace event_sdk::test
