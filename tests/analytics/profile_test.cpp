#include "analytics/NativeUserTracker.h"
#include "analytics/ZrException.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

class ProfileTest : public TrackerTest {
protected:
    void SetUp() override {
        TrackerTest::SetUp();
        start();
        m_before = records().size();
    }
    std::vector<Json::Value> added() const {
        auto all = records();
        return {all.begin() + static_cast<long>(m_before), all.end()};
    }
    size_t m_before = 0;
};

std::string failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const ZrException& e) {
        return e.what();
    }
    return "<accepted>";
}

TEST_F(ProfileTest, RegistryDecidesTheOperation) {
    ProfileUserPropertyString("zr_os", "Linux");
    ProfileUserPropertyString("$ios_install_source", "src");
    ProfileUserPropertyNumber("zr_paid_count", int32_t{1});
    ProfileUserPropertyNumber("zr_consumption", 9.5);
    const auto records = added();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0]["type"].asString(), "profile_set");
    EXPECT_EQ(records[1]["type"].asString(), "profile_set_once");
    EXPECT_EQ(records[2]["type"].asString(), "profile_increment");
    EXPECT_EQ(records[3]["properties"]["zr_consumption"].asDouble(), 9.5);
    for (const auto& r : records) EXPECT_FALSE(r["properties"].isMember("zr_app_id"));  // no super properties
}

TEST_F(ProfileTest, WrongOperationOrUnknownKeyIsRefused) {
    EXPECT_EQ(failure([] { ProfileUserPropertyString("zr_paid_count", "1"); }),
              "user property [zr_paid_count] is string type value, it cannot be accumulated!");
    EXPECT_EQ(failure([] { ProfileUserPropertyString("nope", "1"); }), "Not supported user property [nope]!");
    EXPECT_EQ(failure([] { ProfileUserPropertyNumber("nope", int32_t{1}); }), "Not supported user property [nope]!");
    EXPECT_EQ(failure([] { ProfileUserPropertyDateTime("zr_visit_count", 1); }),
              "user property [zr_visit_count] is date-time value, it can only be set!");
    EXPECT_EQ(failure([] { ProfileUserPropertyDateTime("nope", 1); }), "Not supported user property [nope]!");
    EXPECT_TRUE(added().empty());
}

TEST_F(ProfileTest, DateTimeInSecondsOrMilliseconds) {
    ProfileUserPropertyDateTime("zr_last_visit_date", 1000);
    ProfileUserPropertyDateTime("$first_visit_time", int64_t{1700000000123});
    const auto records = added();
    ASSERT_EQ(records.size(), 2u);
    // Written as local time; in milliseconds the remainder survives.
    EXPECT_EQ(records[0]["properties"]["zr_last_visit_date"].asString(), formatLocalTime({1000}));
    EXPECT_EQ(records[1]["properties"]["$first_visit_time"].asString(), formatLocalTime({1700000000123}));
    EXPECT_TRUE(records[1]["properties"]["$first_visit_time"].asString().ends_with(".123"));
    EXPECT_EQ(records[1]["type"].asString(), "profile_set_once");
}

}  // namespace
}  // namespace zerin::analytics::test
