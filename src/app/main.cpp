#include "app/AnalyticsReports.h"
#include "app/Entry.h"
#include "app/WindowStart.h"

#include "platform/Clock.h"
#include "utils/CommandLine.h"
#include "utils/Text.h"

#include <csignal>
#include <cstdlib>
#include <string>

namespace {

// Test-only: LEXIVAR_TEST_HOLD_MS keeps the process in its window step for the
// given time when no window is attached, so tests can run a second instance
// against a first one that is still "showing" its window.
void AttachTestHold(EntryHooks& hooks)
{
    const char* hold = std::getenv("LEXIVAR_TEST_HOLD_MS");
    if (hooks.WindowStart || hold == nullptr) return;
    int32_t ms = 0;
    if (Utils::ParseInt32(Utils::ToWide(hold, Utils::CP_UTF8), ms) != Utils::NumberParse::Ok || ms <= 0) return;
    hooks.WindowStart = [ms]() -> std::shared_ptr<void> {
        Platform::SleepMilliseconds(static_cast<uint32_t>(ms));
        return nullptr;
    };
}

// Test-only: LEXIVAR_TEST_CRASH=1 makes the window step crash when no window
// is attached, so tests can watch the crash report leave the process.
void AttachTestCrash(EntryHooks& hooks)
{
    const char* crash = std::getenv("LEXIVAR_TEST_CRASH");
    if (hooks.WindowStart || crash == nullptr || std::string(crash) != "1") return;
    hooks.WindowStart = []() -> std::shared_ptr<void> {
        std::raise(SIGSEGV);
        return nullptr;
    };
}

}  // namespace

int main()
{
    EntryHooks hooks;
    AttachAnalyticsReports(hooks);
    AttachTestCrash(hooks);
    AttachTestHold(hooks);
    if (!hooks.WindowStart) hooks.WindowStart = &RunMainWindow;
    return RunInstaller(hooks, Utils::CommandLine::FromProcess());
}
