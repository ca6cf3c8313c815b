#include "app/Entry.h"

#include "platform/Clock.h"
#include "utils/CommandLine.h"
#include "utils/Text.h"

#include <cstdlib>

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

}  // namespace

int main()
{
    EntryHooks hooks;
    AttachTestHold(hooks);
    return RunInstaller(hooks, Utils::CommandLine::FromProcess());
}
