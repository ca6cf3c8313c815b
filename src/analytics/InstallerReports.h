#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "analytics/ZrContextProperties.h"

namespace zerin::analytics {

// The installer's own usage reports. Every function does nothing unless the
// reports are enabled, and none of them throws or fails the caller.

// Switched on by the entry when the settings allow analytics.
void setInstallerReportsEnabled(bool enabled);
bool installerReportsEnabled();

// Report properties: in practice the single entry "AB" = the group code.
using AbMap = std::map<std::wstring, std::wstring>;
// The group used by the entry, the crash handler and the HTTP client.
AbMap defaultAbGroup();

// Adds "zrc_ab" for `types` when the map's "AB" value passes the A/B rule. A
// value that breaks the rule is left out: the report goes on without it.
void applyAbGroup(AbMap ab, const std::vector<ZrEventType>& types, ZrContextProperties& props);

void reportTaskEvent(const std::wstring& name, AbMap ab, const std::wstring& reason, float elapsed);
void reportClickEvent(AbMap ab, const std::wstring& name);
void reportInstallingView(AbMap ab);
// The crash event alone.
void reportCrash();
// The crash handler's report: the task "崩溃退出", then the crash event, which
// flushes everything queued. Returns within `bound`, sent or not, because the
// process is about to end.
void reportCrashAndWait(std::chrono::milliseconds bound);

// What the tracker is started from, taken from the installer's settings.
struct InstallerTrackerSettings {
    std::wstring productName;
    std::wstring dlAppNameSuffix;
    std::wstring version;
    std::wstring exeName;
    std::wstring dlAppVersion;
    std::wstring statsUrl;  // empty: the default endpoint
};
void startTracker(const InstallerTrackerSettings& settings);
void stopTracker();

// A failed download or installation as the controller reported it.
struct FailureStatus {
    double code = 0;
    std::wstring message;
};

// The environment checks behind a download failure report; tests replace them.
struct DownloadProbes {
    std::function<uint64_t(const std::wstring& path)> freeBytes;  // of the volume holding path
    std::function<int()> checkNetwork;
    std::function<bool(const std::wstring& path)> canReadWrite;
};
// The system's checks; the connectivity check is whatever the program installed
// with setNetworkStatusSource (-1 when none).
DownloadProbes systemDownloadProbes();
void setNetworkStatusSource(std::function<int()> source);
// Deletes and recreates the file at `path` to see whether it may be written.
bool probeReadWrite(const std::wstring& path);

std::wstring downloadFailureText(const FailureStatus& status, const std::wstring& packagePath,
                                 const DownloadProbes& probes);
std::wstring failureReasonText(const FailureStatus& status);

void reportDownloadFailure(const FailureStatus& status, const std::wstring& packagePath, AbMap ab,
                           const DownloadProbes& probes = systemDownloadProbes());
void reportFailureReason(const FailureStatus& status, bool isDownload, AbMap ab);

}  // namespace zerin::analytics
