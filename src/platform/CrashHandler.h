#pragma once
// Last words on a crash: on SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT and
// std::terminate the hook runs once, then the process ends the default way
// (so the signal and a core dump still reach whoever watches). The hook runs
// in signal context under a watchdog: if it has not returned after
// kCrashHookSeconds, SIGALRM ends the process, so a hook that deadlocks on a
// lock the crashed code held cannot hang it.
#include <functional>

namespace Platform {

inline constexpr unsigned int kCrashHookSeconds = 3;

using CrashHook = std::function<void()>;
void InstallCrashHandlers(CrashHook hook);

}  // namespace Platform
