#pragma once
// The installer's start-up and shut-down sequence around the main window.
// Other parts of the program do their share at five attachment points; with
// nothing attached the sequence passes a point and goes on.
#include <functional>
#include <memory>

#include "app/InstallerSettings.h"

namespace Utils {
class CommandLine;
}

struct EntryHooks {
    // The transfer library failed to initialise (CurlUsable is already cleared).
    // Runs before the analytics start, so a report made here has no tracker yet.
    std::function<void()> TransferFailureReport;
    // Called only when IsEnableAppSensors is true, after the command line is applied.
    std::function<void(const InstallerSettings&)> AnalyticsStart;
    // Starts the toolkit, creates the main window and runs its modal loop; returns
    // when the window is gone. The returned object is the window, destroyed after
    // the transfer library's clean-up (it ends the window's own jobs).
    std::function<std::shared_ptr<void>()> WindowStart;
    // Called only when IsEnableAppSensors is true; releases the tracker.
    std::function<void()> AnalyticsStop;
    // Runs from the crash handlers: bounded in time, in signal context.
    std::function<void()> CrashReport;
};

inline constexpr int kExitNormal = 0;
inline constexpr int kExitAnotherInstance = -1;

// Runs the whole sequence and returns the exit code.
int RunInstaller(EntryHooks& hooks, const Utils::CommandLine& commandLine);
