#include "analytics/InstallerReports.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <limits>
#include <mutex>
#include <thread>

#include "analytics/GlobalTracker.h"
#include "analytics/ZrPresetKeys.h"
#include "utils/Files.h"
#include "utils/Text.h"

namespace zerin::analytics {
namespace {

std::atomic<bool> g_enabled{false};
bool installerReportsEnabledFlag() { return g_enabled.load(); }

std::mutex g_networkMutex;
std::function<int()> g_networkStatus;

// Failure texts are cut to what the reporting buffers hold.
constexpr size_t kMaxReasonChars = 199;

std::string utf8(const std::wstring& text) { return Utils::ToNarrow(text, Utils::CP_UTF8); }

// The status code travels as a double; it is reported as a whole number, and
// values no integer can hold are reported as 0 rather than left undefined.
long wholeCode(double code) {
    if (!std::isfinite(code)) return 0;
    const double low = static_cast<double>(std::numeric_limits<long>::min());
    const double high = static_cast<double>(std::numeric_limits<long>::max());
    if (code < low || code >= high) return 0;
    return static_cast<long>(code);
}

std::wstring twoDecimals(double value) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%.2f", value);
    return text;
}

// Reports are a side matter: nothing in them may disturb the installer.
template <typename Report>
void guarded(Report&& report) noexcept {
    if (!installerReportsEnabledFlag()) return;
    try {
        report();
    } catch (...) {
    }
}

std::wstring cut(std::wstring text) {
    if (text.size() > kMaxReasonChars) text.resize(kMaxReasonChars);
    return text;
}

}  // namespace

void setInstallerReportsEnabled(bool enabled) { g_enabled.store(enabled); }
bool installerReportsEnabled() { return installerReportsEnabledFlag(); }

AbMap defaultAbGroup() { return {{L"AB", L"IN"}}; }

void applyAbGroup(AbMap ab, const std::vector<ZrEventType>& types, ZrContextProperties& props) {
    if (ab.empty()) return;
    const auto found = ab.find(L"AB");
    if (found == ab.end()) return;
    const std::string value = utf8(found->second);
    try {
        if (ZrContextProperties::isValidABValue(value)) props.setProperty(keys::kAbGroup, value, types);
    } catch (...) {
        // A group code that breaks the rule is dropped; the report itself still goes.
    }
}

namespace {

// A report for one event type through the global tracker, with the group code
// attached; dropped when there is no tracker (before it starts or after it is gone).
template <typename Track>
void reportWithGroup(AbMap ab, ZrEventType type, Track&& track) {
    guarded([&] {
        const auto tracker = globalTracker();
        if (!tracker) return;
        ZrContextProperties props;
        applyAbGroup(std::move(ab), {type}, props);
        track(*tracker, props);
    });
}

}  // namespace

void reportTaskEvent(const std::wstring& name, AbMap ab, const std::wstring& reason, float elapsed) {
    reportWithGroup(std::move(ab), ZrEventType::Task, [&](UsageTracker& tracker, const ZrContextProperties& props) {
        ZrEventTask task;
        task.name = utf8(name);
        task.reason = utf8(reason);
        task.elapsed = elapsed;
        task.result = ZrResult::Success;
        tracker.trackTask(task, &props);
    });
}

void reportClickEvent(AbMap ab, const std::wstring& name) {
    reportWithGroup(std::move(ab), ZrEventType::Click, [&](UsageTracker& tracker, const ZrContextProperties& props) {
        ZrEventClick click;
        click.name = utf8(name);
        click.clickType = ZrClickType::Button;
        tracker.trackClick(click, &props);
    });
}

void reportInstallingView(AbMap ab) {
    reportWithGroup(std::move(ab), ZrEventType::View, [](UsageTracker& tracker, const ZrContextProperties& props) {
        ZrEventView view;
        view.name = utf8(L"安装中");
        tracker.trackView(view, &props);
    });
}

void reportCrash() {
    guarded([] {
        if (const auto tracker = globalTracker()) tracker->trackCrash(utf8(L"崩溃"));
    });
}

void reportCrashAndWait(std::chrono::milliseconds bound) {
    guarded([&] {
        // The report runs on a thread of its own: the crashed thread may be on a
        // small emergency stack or hold locks, and the process must end after
        // `bound` whether or not the endpoint answered.
        auto finished = std::make_shared<std::promise<void>>();
        std::future<void> done = finished->get_future();
        std::thread reporter([finished, bound] {
            reportTaskEvent(L"崩溃退出", defaultAbGroup(), L"", 0);
            reportCrash();
            if (const auto tracker = globalTracker()) tracker->waitForSends(bound);
            finished->set_value();
        });
        if (done.wait_for(bound) == std::future_status::ready) {
            reporter.join();
        } else {
            reporter.detach();  // it holds the tracker alive; the process ends next
        }
    });
}

void startTracker(const InstallerTrackerSettings& s) {
    guarded([&] {
        TrackerInitInfo info;
        info.appName = utf8(s.productName + s.dlAppNameSuffix);
        info.appVersion = utf8(s.version);
        info.appStore = utf8(s.exeName);
        info.dlAppId = utf8(s.productName);
        info.dlAppVersion = utf8(s.dlAppVersion);
        info.edition = ZrEdition::china;
        info.serverUrl = utf8(s.statsUrl);
        createGlobalTracker(info);
    });
}

void stopTracker() {
    guarded([] { releaseGlobalTracker(); });
}

void setNetworkStatusSource(std::function<int()> source) {
    std::lock_guard lock(g_networkMutex);
    g_networkStatus = std::move(source);
}

bool probeReadWrite(const std::wstring& path) {
    const std::filesystem::path file(utf8(path));
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        if (!std::filesystem::remove(file, ec)) return false;
    }
    std::fstream stream(file, std::ios::in | std::ios::out | std::ios::trunc | std::ios::binary);
    if (!stream.is_open()) return false;
    stream.close();
    std::filesystem::remove(file, ec);
    return true;
}

DownloadProbes systemDownloadProbes() {
    DownloadProbes probes;
    probes.freeBytes = [](const std::wstring& path) -> uint64_t {
        Utils::HardDiskManager disk;
        return disk.CheckFreeSpace(path) ? disk.m_FreeBytesForCaller : 0;
    };
    probes.checkNetwork = [] {
        std::lock_guard lock(g_networkMutex);
        return g_networkStatus ? g_networkStatus() : -1;
    };
    probes.canReadWrite = probeReadWrite;
    return probes;
}

std::wstring downloadFailureText(const FailureStatus& status, const std::wstring& packagePath,
                                 const DownloadProbes& probes) {
    const double gigabytes = static_cast<double>(probes.freeBytes(packagePath)) / 1073741824.0;
    // The connectivity check runs before the write probe, as the probe disturbs the package file.
    const int network = probes.checkNetwork();
    const bool writable = probes.canReadWrite(packagePath);
    return cut(L"1.code=" + std::to_wstring(wholeCode(status.code)) + L"；2.msg=" + status.message +
               L"；3.缓存磁盘容量=" + twoDecimals(gigabytes) + L"G；4.缓存读写权限=" +
               (writable ? L"可读" : L"无权限") + L"；5.服务器连接状态code=" + std::to_wstring(network));
}

std::wstring failureReasonText(const FailureStatus& status) {
    return cut(L":1.code=" + std::to_wstring(wholeCode(status.code)) + L"；2.msg=" + status.message);
}

void reportDownloadFailure(const FailureStatus& status, const std::wstring& packagePath, AbMap ab,
                           const DownloadProbes& probes) {
    // The probes are only run for a report that can be sent.
    guarded([&] {
        if (!globalTracker()) return;
        reportTaskEvent(L"下载失败原因", std::move(ab), downloadFailureText(status, packagePath, probes), 0);
    });
}

void reportFailureReason(const FailureStatus& status, bool isDownload, AbMap ab) {
    guarded([&] {
        reportTaskEvent(isDownload ? L"下载失败原因" : L"安装失败原因", std::move(ab), failureReasonText(status), 0);
    });
}

}  // namespace zerin::analytics
