#include "app/AnalyticsReports.h"

#include <atomic>
#include <chrono>
#include <optional>
#include <utility>

#include "analytics/InstallerReports.h"
#include "analytics/UsageTrackerImpl.h"
#include "download/FailureReason.h"
#include "toolkit/startup.h"
#include "ui/MainWndReports.h"
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

za::FailureStatus StatusOf(const InstallerEventRecord& record) { return {record.value, record.text}; }

// The window's points stay empty unless analytics run, so a window without
// them builds no report at all.
void AttachWindowReports()
{
    MainWndReports& points = MainWndReportPoints();
    points.reportTaskEvent = [](const std::wstring& name, const AbMap& ab, const std::wstring& reason, float elapsed) {
        za::reportTaskEvent(name, ab, reason, elapsed);
    };
    points.reportClickEvent = [](const AbMap& ab, const std::wstring& name) { za::reportClickEvent(ab, name); };
    points.reportInstallingView = [](const AbMap& ab) { za::reportInstallingView(ab); };
    points.reportDownloadFailure = [](const InstallerEventRecord& record, const std::wstring& packagePath,
                                      const AbMap& ab) {
        za::reportDownloadFailure(StatusOf(record), packagePath, ab);
    };
    points.reportFailureReason = [](const InstallerEventRecord& record, bool isDownload, const AbMap& ab) {
        za::reportFailureReason(StatusOf(record), isDownload, ab);
    };
}

std::optional<std::pair<int, int>> ScreenSize()
{
    const auto size = toolkit::PrimaryScreenSize();
    if (!size) return std::nullopt;
    return std::make_pair(size->cx, size->cy);
}

void StartAnalytics(const InstallerSettings& settings)
{
    za::setInstallerReportsEnabled(true);
    // Read once when the tracker starts, before the first window exists.
    za::setScreenSizeSource(ScreenSize);
    za::startTracker({settings.ProductName, settings.DlAppNameSuffix, settings.Version, settings.ExeName,
                      settings.DlAppVersion, settings.StatsUrl});
    za::setNetworkStatusSource([] { return static_cast<int>(Utils::CheckNetwork()); });
    download_report::SetFailureReasonHook(ReportLengthFailure);
    if (g_transferFailed.exchange(false)) za::reportTaskEvent(L"libcurl初始化失败", za::defaultAbGroup(), L"", 0);
    AttachWindowReports();
}

void StopAnalytics()
{
    MainWndReportPoints() = {};
    download_report::SetFailureReasonHook({});
    za::stopTracker();
    za::setScreenSizeSource({});
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
