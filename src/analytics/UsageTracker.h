#pragma once

#include <string>

#include "analytics/TrackLogger.h"
#include "analytics/ZrContextProperties.h"
#include "analytics/ZrEvents.h"

namespace zerin::analytics {

// The tracker facade. `props` may be null; every string is UTF-8.
class UsageTracker {
public:
    virtual ~UsageTracker() = default;

    virtual void trackActivity(const ZrContextProperties* props) = 0;
    virtual void trackLaunch(const ZrContextProperties* props) = 0;
    virtual void trackLogin(const ZrUserInfo& user, bool success, const std::string& reason,
                            const ZrContextProperties* props) = 0;
    virtual void trackClick(const ZrEventClick& event, const ZrContextProperties* props) = 0;
    virtual void trackView(const ZrEventView& event, const ZrContextProperties* props) = 0;
    virtual void trackCashier(const ZrEventCashier& event, const ZrContextProperties* props) = 0;
    virtual void trackShare(const ZrEventShare& event, const ZrContextProperties* props) = 0;
    virtual void trackTask(const ZrEventTask& event, const ZrContextProperties* props) = 0;
    virtual void trackFile(const ZrEventFile& event, const ZrContextProperties* props) = 0;
    virtual void trackOrder(const ZrEventOrder& event, const ZrContextProperties* props) = 0;
    virtual void trackPayment(const ZrEventPayment& event, const ZrContextProperties* props) = 0;
    virtual void trackUninstall(const std::string& reason, const ZrContextProperties* props) = 0;
    virtual void trackCrash(const std::string& reason) = 0;
    virtual void trackUpdate(const ZrEventUpdate& event, const ZrContextProperties* props) = 0;
    virtual void trackAppOpenNotification(const ZrAppOpenNotification* notification,
                                          const ZrContextProperties* props) = 0;
    virtual void setLocale(const std::string& locale) = 0;
    virtual std::string getPrimaryDistinctId() = 0;
    virtual TrackLogger* getTrackLogger() = 0;
};

}  // namespace zerin::analytics
