#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "analytics/NativeTrackLogger.h"
#include "analytics/TrackerSender.h"
#include "analytics/TrackerState.h"
#include "analytics/UsageTracker.h"

namespace event_sdk {
class PropertiesNode;
}

namespace zerin::analytics {

// Width and height of the primary screen, when the program can tell.
using ScreenSizeSource = std::function<std::optional<std::pair<int, int>>()>;
void setScreenSizeSource(ScreenSizeSource source);

// The concrete tracker: turns each typed record into a named event for the
// recording SDK, keeps the identity and the profile, and decides when to send.
// Rule violations raise ZrException; UsageTrackerWrapper keeps them in.
class UsageTrackerImpl final : public UsageTracker {
public:
    explicit UsageTrackerImpl(const TrackerInitInfo& info, TrackerRoots roots = TrackerRoots::fromSystem(),
                              TrackerSender::Hooks senderHooks = {});
    ~UsageTrackerImpl() override;
    UsageTrackerImpl(const UsageTrackerImpl&) = delete;
    UsageTrackerImpl& operator=(const UsageTrackerImpl&) = delete;

    void init();

    void trackActivity(const ZrContextProperties* props) override;
    void trackLaunch(const ZrContextProperties* props) override;
    void trackLogin(const ZrUserInfo& user, bool success, const std::string& reason,
                    const ZrContextProperties* props) override;
    void trackClick(const ZrEventClick& event, const ZrContextProperties* props) override;
    void trackView(const ZrEventView& event, const ZrContextProperties* props) override;
    void trackCashier(const ZrEventCashier& event, const ZrContextProperties* props) override;
    void trackShare(const ZrEventShare& event, const ZrContextProperties* props) override;
    void trackTask(const ZrEventTask& event, const ZrContextProperties* props) override;
    void trackFile(const ZrEventFile& event, const ZrContextProperties* props) override;
    void trackOrder(const ZrEventOrder& event, const ZrContextProperties* props) override;
    void trackPayment(const ZrEventPayment& event, const ZrContextProperties* props) override;
    void trackUninstall(const std::string& reason, const ZrContextProperties* props) override;
    void trackCrash(const std::string& reason) override;
    void trackUpdate(const ZrEventUpdate& event, const ZrContextProperties* props) override;
    void trackAppOpenNotification(const ZrAppOpenNotification* notification,
                                  const ZrContextProperties* props) override;
    void setLocale(const std::string& locale) override;
    std::string getPrimaryDistinctId() override;
    TrackLogger* getTrackLogger() override { return trackLogger.get(); }

    // Waits, at most `timeout`, for background sends to end (crash path).
    bool waitForSends(std::chrono::milliseconds timeout) { return m_sender.waitIdle(timeout); }
    bool initialized() const { return m_sdkStarted; }
    const TrackerState& trackerState() const { return *state; }

private:
    void registerSuperProperties();
    void registerLocale();
    // Hands the record to the SDK and counts it; then asks for sending.
    void send(std::string_view eventName, const event_sdk::PropertiesNode& properties, bool flush);
    void sendPending(bool flush) { m_sender.request(flush); }
    void addPending(int32_t records) { state->pending.fetch_add(records); }
    void profileVisit(int64_t now);
    void profilePreviousApp();
    void finishLogin(const ZrUserInfo& user);

    std::string serverUrl;
    std::string appName;
    std::string appVersion;
    std::string appStore;
    std::string dlAppId;
    std::string dlAppVersion;
    std::unique_ptr<NativeTrackLogger> trackLogger;
    ZrEdition edition;
    std::unique_ptr<TrackerState> state;

    TrackerRoots m_roots;
    TrackerSender m_sender;
    bool m_sdkStarted = false;
};

}  // namespace zerin::analytics
