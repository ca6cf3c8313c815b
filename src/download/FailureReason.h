#pragma once
// The point where the download reports why a package length could not be
// learned. Nothing is attached by default and the download goes on unchanged;
// the usage analytics attach their report here.

#include <functional>
#include <string>

namespace download_report {

using FailureReasonHook = std::function<void(const std::wstring& reason)>;

// Set before any downloader runs; an empty hook detaches.
void SetFailureReasonHook(FailureReasonHook hook);
void ReportFailureReason(const std::wstring& reason);

// "1.获取文件大小的状态码为=<code>；", at most 200 characters.
std::wstring LengthStatusReason(long httpCode);

}  // namespace download_report
