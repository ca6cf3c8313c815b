#include <chrono>
#include <future>

#include "support/stats_endpoint.h"
#include "support/tracker_fixture.h"

namespace zerin::analytics::test {
namespace {

class SendingTest : public TrackerTest {
protected:
    // A tracker that really sends to `endpoint`; the last-send flag is the test's.
    UsageTrackerImpl& startSending(StatsEndpoint& endpoint) {
        m_tracker = std::make_unique<UsageTrackerImpl>(info(endpoint.url()), roots(),
                                                       TrackerSender::Hooks{[this] { return m_lastSendOk.load(); }, {}});
        m_tracker->init();
        return *m_tracker;
    }
    static std::vector<std::string> eventNames(const std::vector<std::string>& records) {
        std::vector<std::string> names;
        for (const auto& r : records) names.push_back(ParseJson(r)["event"].asString());
        return names;
    }
};

TEST_F(SendingTest, AfterAFailedSendFlushesGoToTheBackground) {
    m_lastSendOk = false;
    auto& tracker = start();
    tracker.trackClick(clickNamed("x"), nullptr);
    tracker.trackCrash("a");
    tracker.trackUninstall("b", nullptr);
    ASSERT_TRUE(tracker.waitForSends(std::chrono::seconds(5)));
    const auto lines = debugLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[Tracker] Sending messages asynchronously"), 2);
    const auto threads = flushThreads();
    ASSERT_FALSE(threads.empty());
    for (auto id : threads) EXPECT_NE(id, std::this_thread::get_id());
}

TEST_F(SendingTest, AfterASuccessfulSendFlushesRunOnTheCallersThread) {
    auto& tracker = start();
    tracker.trackClick(clickNamed("x"), nullptr);
    EXPECT_TRUE(flushThreads().empty());  // clicks only wait in the queue
    tracker.trackCrash("a");
    EXPECT_EQ(flushThreads(), std::vector<std::thread::id>{std::this_thread::get_id()});
    EXPECT_TRUE(debugLines().empty());
}

TEST_F(SendingTest, ShutdownDeliversWaitingEvents) {
    StatsEndpoint endpoint;
    auto& tracker = startSending(endpoint);
    for (const char* name : {"one", "two", "three"}) tracker.trackClick(clickNamed(name), nullptr);
    EXPECT_EQ(endpoint.requests(), 0u);
    m_tracker.reset();
    EXPECT_EQ(eventNames(endpoint.records()),
              (std::vector<std::string>{"ZrEventClick", "ZrEventClick", "ZrEventClick"}));
}

TEST_F(SendingTest, RefusedBatchesWaitForTheNextRun) {
    for (auto mode : {StatsEndpoint::Mode::Answer500, StatsEndpoint::Mode::Garbage}) {
        StatsEndpoint endpoint;
        endpoint.setMode(mode);
        startSending(endpoint).trackView(viewNamed("安装中"), nullptr);
        m_tracker.reset();  // the final flush fails; the record is staged
        EXPECT_GE(endpoint.requests(), 1u);
        EXPECT_TRUE(endpoint.records().empty());

        endpoint.setMode(StatsEndpoint::Mode::Accept);
        m_lastSendOk = true;
        startSending(endpoint).trackCrash("崩溃");
        EXPECT_EQ(eventNames(endpoint.records()), (std::vector<std::string>{"ZrEventView", "AppCrashed"}));
        m_tracker.reset();
        m_lastSendOk = false;
    }
}

TEST_F(SendingTest, ShutdownWaitsOutABackgroundSendInsteadOfLeavingIt) {
    StatsEndpoint endpoint;
    endpoint.setMode(StatsEndpoint::Mode::Stall);
    m_lastSendOk = false;
    auto& tracker = startSending(endpoint);
    tracker.trackTask(taskNamed("崩溃退出"), nullptr);
    tracker.trackCrash("崩溃");             // in flight, stalled
    tracker.trackUninstall("", nullptr);   // waits for its turn
    ASSERT_TRUE(endpoint.waitForRequests(1));

    auto releaser = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        endpoint.setMode(StatsEndpoint::Mode::Accept);
        endpoint.release();
    });
    m_tracker.reset();  // must not return while a send could still touch the tracker
    releaser.get();
    EXPECT_EQ(eventNames(endpoint.records()),
              (std::vector<std::string>{"ZrEventTask", "AppCrashed", "ZrEventUninstall"}));
}

}  // namespace
}  // namespace zerin::analytics::test
