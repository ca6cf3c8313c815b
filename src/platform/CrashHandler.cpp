#include "platform/CrashHandler.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <unistd.h>

namespace Platform {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

CrashHook& Hook()
{
    static CrashHook hook;
    return hook;
}

std::atomic<bool> g_reported{false};

void ReportOnce()
{
    if (g_reported.exchange(true)) return;
    signal(SIGALRM, SIG_DFL);
    alarm(kCrashHookSeconds);
    if (Hook()) Hook()();
    alarm(0);
}

void OnSignal(int signo)
{
    ReportOnce();
    // Back to the default action; re-raising ends the process with this signal.
    signal(signo, SIG_DFL);
    raise(signo);
}

[[noreturn]] void OnTerminate()
{
    ReportOnce();
    signal(SIGABRT, SIG_DFL);
    std::abort();
}

}  // namespace

void InstallCrashHandlers(CrashHook hook)
{
    Hook() = std::move(hook);
    // A stack overflow leaves no stack for the handler; give it its own.
    static char alternateStack[64 * 1024];
    stack_t ss{};
    ss.ss_sp = alternateStack;
    ss.ss_size = sizeof alternateStack;
    sigaltstack(&ss, nullptr);
    struct sigaction action{};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signo : kSignals) sigaction(signo, &action, nullptr);
    std::set_terminate(OnTerminate);
}

}  // namespace Platform
