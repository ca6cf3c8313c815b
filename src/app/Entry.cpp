#include "app/Entry.h"

#include "platform/CrashHandler.h"
#include "utils/CommandLine.h"
#include "utils/InstanceMutex.h"
#include "utils/Log.h"

#include <cstdlib>
#include <curl/curl.h>

namespace {

// Variables that make the dynamic loader pull code into our children (and into
// anything we load later) are dropped at once, before anything can start.
void HardenLibrarySearch()
{
    for (const char* name : {"LD_PRELOAD", "LD_LIBRARY_PATH", "LD_AUDIT"}) unsetenv(name);
}

void Call(const std::function<void()>& hook)
{
    if (hook) hook();
}

}  // namespace

int RunInstaller(EntryHooks& hooks, const Utils::CommandLine& commandLine)
{
    InstallerSettings& settings = InstallerSettings::Instance();

    HardenLibrarySearch();                                       // 1
    Platform::InstallCrashHandlers([&hooks] { Call(hooks.CrashReport); });  // 2
    if (curl_global_init(CURL_GLOBAL_ALL) != 0) {                // 3
        settings.CurlUsable = false;
        Call(hooks.TransferFailureReport);
    }

    Utils::InstanceMutex mutex(kMutexBaseName);  // 4
    mutex.Acquire();
    if (!mutex.IsHeld()) return kExitAnotherInstance;  // nothing shown, nothing cleaned up

    settings.ApplyCommandLine(commandLine);  // 5
    const bool sensors = settings.IsEnableAppSensors;
    if (sensors && hooks.AnalyticsStart) hooks.AnalyticsStart(settings);  // 6

    std::shared_ptr<void> window;  // 7-8: returns at once until a window is attached
    if (hooks.WindowStart) window = hooks.WindowStart();

    if (sensors) Call(hooks.AnalyticsStop);  // 9
    curl_global_cleanup();                   // 10
    window.reset();                          // 11
    mutex.Release();                         // 12
    return kExitNormal;                      // 13
}
