#include <gtest/gtest.h>

#include "analytics/NativeTrackLogger.h"
#include "analytics/UsageTrackerWrapper.h"
#include "analytics/ZrException.h"

namespace zerin::analytics {
namespace {

// Every track operation fails; the logger is there or not as asked.
class ThrowingTracker final : public UsageTracker {
public:
    explicit ThrowingTracker(bool withLogger) : m_withLogger(withLogger) {}
    [[noreturn]] static void fail() { ZR_THROW("Test", "track", "bad record"); }

    void trackActivity(const ZrContextProperties*) override { fail(); }
    void trackLaunch(const ZrContextProperties*) override { fail(); }
    void trackLogin(const ZrUserInfo&, bool, const std::string&, const ZrContextProperties*) override { fail(); }
    void trackClick(const ZrEventClick&, const ZrContextProperties*) override { fail(); }
    void trackView(const ZrEventView&, const ZrContextProperties*) override { fail(); }
    void trackCashier(const ZrEventCashier&, const ZrContextProperties*) override { fail(); }
    void trackShare(const ZrEventShare&, const ZrContextProperties*) override { fail(); }
    void trackTask(const ZrEventTask&, const ZrContextProperties*) override { fail(); }
    void trackFile(const ZrEventFile&, const ZrContextProperties*) override { fail(); }
    void trackOrder(const ZrEventOrder&, const ZrContextProperties*) override { fail(); }
    void trackPayment(const ZrEventPayment&, const ZrContextProperties*) override { fail(); }
    void trackUninstall(const std::string&, const ZrContextProperties*) override { fail(); }
    void trackCrash(const std::string&) override { throw std::runtime_error("not a ZrException"); }
    void trackUpdate(const ZrEventUpdate&, const ZrContextProperties*) override { fail(); }
    void trackAppOpenNotification(const ZrAppOpenNotification*, const ZrContextProperties*) override { fail(); }
    void setLocale(const std::string&) override {}
    std::string getPrimaryDistinctId() override { return "ID"; }
    TrackLogger* getTrackLogger() override { return m_withLogger ? &m_logger : nullptr; }

private:
    bool m_withLogger;
    NativeTrackLogger m_logger;
};

std::string runAll(UsageTracker& t) {
    testing::internal::CaptureStdout();
    t.trackActivity(nullptr);
    t.trackLaunch(nullptr);
    t.trackLogin({}, true, "", nullptr);
    t.trackClick({}, nullptr);
    t.trackView({}, nullptr);
    t.trackCashier({}, nullptr);
    t.trackShare({}, nullptr);
    t.trackTask({}, nullptr);
    t.trackFile({}, nullptr);
    t.trackOrder({}, nullptr);
    t.trackPayment({}, nullptr);
    t.trackUninstall("", nullptr);
    t.trackCrash("");
    t.trackUpdate({}, nullptr);
    t.trackAppOpenNotification(nullptr, nullptr);
    return testing::internal::GetCapturedStdout();
}

TEST(UsageTrackerWrapper, SwallowsEveryFailureAndNamesItWhenALogExists) {
    UsageTrackerWrapper wrapper(std::make_unique<ThrowingTracker>(true));
    EXPECT_EQ(runAll(wrapper),
              "Failed to trackActivity\nFailed to trackLaunch\nFailed to trackLogin\nFailed to trackClick\n"
              "Failed to trackView\nFailed to trackCashier\nFailed to trackShare\nFailed to trackTask\n"
              "Failed to trackFile\nFailed to trackOrder\nFailed to trackPayment\nFailed to trackUninstall\n"
              "Failed to trackCrash\nFailed to trackUpdate\nFailed to trackAppOpenNotification\n");
    EXPECT_EQ(wrapper.getPrimaryDistinctId(), "ID");
    EXPECT_EQ(wrapper.getTrackLogger(), nullptr);
}

TEST(UsageTrackerWrapper, SilentWithoutLogAndHarmlessWithoutInner) {
    UsageTrackerWrapper quiet(std::make_unique<ThrowingTracker>(false));
    EXPECT_EQ(runAll(quiet), "");
    UsageTrackerWrapper empty(nullptr);
    EXPECT_EQ(runAll(empty), "");
    EXPECT_EQ(empty.getPrimaryDistinctId(), "");
}

}  // namespace
}  // namespace zerin::analytics
