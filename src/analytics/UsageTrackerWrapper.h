#pragma once

#include <chrono>
#include <memory>

#include "analytics/UsageTracker.h"

namespace zerin::analytics {

// Shields callers from the tracker: no track operation lets an exception out.
// A swallowed failure is announced as "Failed to <operation>" on standard
// output when the inner tracker keeps a track log.
class UsageTrackerWrapper final : public UsageTracker {
public:
    explicit UsageTrackerWrapper(std::unique_ptr<UsageTracker> inner) : m_inner(std::move(inner)) {}

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
    TrackLogger* getTrackLogger() override { return nullptr; }

    // Waits, at most `timeout`, until the inner tracker has no send running in
    // the background. Used where the process is about to end.
    bool waitForSends(std::chrono::milliseconds timeout);

private:
    template <typename Call>
    void shielded(const char* operation, Call&& call) noexcept;

    std::unique_ptr<UsageTracker> m_inner;
};

}  // namespace zerin::analytics
