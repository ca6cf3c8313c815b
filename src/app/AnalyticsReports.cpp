#include "app/AnalyticsReports.h"

#include <atomic>
#include <chrono>

#include "analytics/InstallerReports.h"
#include "download/FailureReason.h"
#include "utils/System.h"

namespace {

namespace za = zerin::analytics;

// The crash handler's watchdog ends the process after a few seconds; the
// report must be done before it.
constexpr std::chrono::milliseconds kCrashSendBound{2500};

// The transfer library fails before the tracker exists; the report is held
// and made as soon as the tracker is there.
std::atomic<bool> g_transferFailed{false};

void ReportLengthFailure(const std::wstring& reason)
{
    za::reportTaskEvent(L"下载失败原因", za::defaultAbGroup(), reason, 0);
}

void StartAnalytics(const InstallerSettings& settings)
{
    za::setInstallerReportsEnabled(true);
    za::startTracker({settings.ProductName, settings.DlAppNameSuffix, settings.Version, settings.ExeName,
                      settings.DlAppVersion, settings.StatsUrl});
    za::setNetworkStatusSource([] { return static_cast<int>(Utils::CheckNetwork()); });
    download_report::SetFailureReasonHook(ReportLengthFailure);
    if (g_transferFailed.exchange(false)) za::reportTaskEvent(L"libcurl初始化失败", za::defaultAbGroup(), L"", 0);
}

void StopAnalytics()
{
    download_report::SetFailureReasonHook({});
    za::stopTracker();
    za::setInstallerReportsEnabled(false);
}

}  // namespace

void AttachAnalyticsReports(EntryHooks& hooks)
{
    hooks.TransferFailureReport = [] { g_transferFailed = true; };
    hooks.AnalyticsStart = StartAnalytics;
    hooks.AnalyticsStop = StopAnalytics;
    // Reports nothing unless analytics were started.
    hooks.CrashReport = [] { za::reportCrashAndWait(kCrashSendBound); };
}
