#include "analytics/UsageTrackerWrapper.h"

#include <cstdio>

#include "analytics/UsageTrackerImpl.h"

namespace zerin::analytics {

template <typename Call>
void UsageTrackerWrapper::shielded(const char* operation, Call&& call) noexcept {
    if (!m_inner) return;
    try {
        call(*m_inner);
    } catch (...) {
        try {
            if (m_inner->getTrackLogger() != nullptr) {
                std::fputs("Failed to ", stdout);
                std::fputs(operation, stdout);
                std::fputs("\n", stdout);
                std::fflush(stdout);
            }
        } catch (...) {
        }
    }
}

void UsageTrackerWrapper::trackActivity(const ZrContextProperties* props) {
    shielded("trackActivity", [&](UsageTracker& t) { t.trackActivity(props); });
}
void UsageTrackerWrapper::trackLaunch(const ZrContextProperties* props) {
    shielded("trackLaunch", [&](UsageTracker& t) { t.trackLaunch(props); });
}
void UsageTrackerWrapper::trackLogin(const ZrUserInfo& user, bool success, const std::string& reason,
                                     const ZrContextProperties* props) {
    shielded("trackLogin", [&](UsageTracker& t) { t.trackLogin(user, success, reason, props); });
}
void UsageTrackerWrapper::trackClick(const ZrEventClick& event, const ZrContextProperties* props) {
    shielded("trackClick", [&](UsageTracker& t) { t.trackClick(event, props); });
}
void UsageTrackerWrapper::trackView(const ZrEventView& event, const ZrContextProperties* props) {
    shielded("trackView", [&](UsageTracker& t) { t.trackView(event, props); });
}
void UsageTrackerWrapper::trackCashier(const ZrEventCashier& event, const ZrContextProperties* props) {
    shielded("trackCashier", [&](UsageTracker& t) { t.trackCashier(event, props); });
}
void UsageTrackerWrapper::trackShare(const ZrEventShare& event, const ZrContextProperties* props) {
    shielded("trackShare", [&](UsageTracker& t) { t.trackShare(event, props); });
}
void UsageTrackerWrapper::trackTask(const ZrEventTask& event, const ZrContextProperties* props) {
    shielded("trackTask", [&](UsageTracker& t) { t.trackTask(event, props); });
}
void UsageTrackerWrapper::trackFile(const ZrEventFile& event, const ZrContextProperties* props) {
    shielded("trackFile", [&](UsageTracker& t) { t.trackFile(event, props); });
}
void UsageTrackerWrapper::trackOrder(const ZrEventOrder& event, const ZrContextProperties* props) {
    shielded("trackOrder", [&](UsageTracker& t) { t.trackOrder(event, props); });
}
void UsageTrackerWrapper::trackPayment(const ZrEventPayment& event, const ZrContextProperties* props) {
    shielded("trackPayment", [&](UsageTracker& t) { t.trackPayment(event, props); });
}
void UsageTrackerWrapper::trackUninstall(const std::string& reason, const ZrContextProperties* props) {
    shielded("trackUninstall", [&](UsageTracker& t) { t.trackUninstall(reason, props); });
}
void UsageTrackerWrapper::trackCrash(const std::string& reason) {
    shielded("trackCrash", [&](UsageTracker& t) { t.trackCrash(reason); });
}
void UsageTrackerWrapper::trackUpdate(const ZrEventUpdate& event, const ZrContextProperties* props) {
    shielded("trackUpdate", [&](UsageTracker& t) { t.trackUpdate(event, props); });
}
void UsageTrackerWrapper::trackAppOpenNotification(const ZrAppOpenNotification* notification,
                                                   const ZrContextProperties* props) {
    shielded("trackAppOpenNotification", [&](UsageTracker& t) { t.trackAppOpenNotification(notification, props); });
}

void UsageTrackerWrapper::setLocale(const std::string& locale) {
    if (m_inner) m_inner->setLocale(locale);
}

bool UsageTrackerWrapper::waitForSends(std::chrono::milliseconds timeout) {
    auto* impl = dynamic_cast<UsageTrackerImpl*>(m_inner.get());
    return impl == nullptr || impl->waitForSends(timeout);
}

std::string UsageTrackerWrapper::getPrimaryDistinctId() { return m_inner ? m_inner->getPrimaryDistinctId() : std::string(); }

}  // namespace zerin::analytics
