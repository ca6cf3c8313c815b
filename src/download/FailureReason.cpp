#include "download/FailureReason.h"

#include <mutex>

namespace download_report {

namespace {

std::mutex& HookMutex() {
    static std::mutex mutex;
    return mutex;
}

FailureReasonHook& Hook() {
    static FailureReasonHook hook;
    return hook;
}

}  // namespace

void SetFailureReasonHook(FailureReasonHook hook) {
    std::lock_guard lock(HookMutex());
    Hook() = std::move(hook);
}

void ReportFailureReason(const std::wstring& reason) {
    FailureReasonHook hook;
    {
        std::lock_guard lock(HookMutex());
        hook = Hook();
    }
    // Called outside the lock so that a slow report never holds up another download.
    if (hook) hook(reason);
}

std::wstring LengthStatusReason(long httpCode) {
    std::wstring text = L"1.获取文件大小的状态码为=" + std::to_wstring(httpCode) + L"；";
    if (text.size() > 200) text.resize(200);
    return text;
}

}  // namespace download_report
