#pragma once
// The usage report points of the main window. Each is empty until the usage
// statistics attach a report to it; an empty point does nothing, so the
// window behaves the same with or without statistics.
#include <functional>
#include <map>
#include <string>

#include "ui/InstallerEvent.h"

using AbMap = std::map<std::wstring, std::wstring>;

struct MainWndReports {
    // name, AB map, reason, elapsed seconds
    std::function<void(const std::wstring&, const AbMap&, const std::wstring&, float)> reportTaskEvent;
    // AB map, button name
    std::function<void(const AbMap&, const std::wstring&)> reportClickEvent;
    std::function<void(const AbMap&)> reportInstallingView;
    // the failure event, the package path the controller downloads to, AB map
    std::function<void(const InstallerEventRecord&, const std::wstring&, const AbMap&)> reportDownloadFailure;
    // the failure event, whether the download (not the installation) failed, AB map
    std::function<void(const InstallerEventRecord&, bool, const AbMap&)> reportFailureReason;
};

// The process's report points, filled in by whoever sends usage statistics.
MainWndReports& MainWndReportPoints();
