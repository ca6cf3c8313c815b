#pragma once
// Small pieces every libcurl user of this folder shares.

#include <curl/curl.h>

#include <string>

namespace curl_common {

// libcurl of this age follows redirects without limit by default; a loop between
// two addresses would then never end.
inline constexpr long kMaxRedirects = 20;
inline constexpr long kConnectTimeoutSeconds = 60;

// Write function that drops the body of a resolution request.
size_t DiscardBody(char* data, size_t size, size_t count, void* unused);

// Transfer-information function for requests that only need to be abortable;
// `stopFlag` points at a std::atomic<bool>.
int AbortWhenStopped(void* stopFlag, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

// The address as libcurl takes it: UTF-8, except that "file:///" addresses name
// a local path and therefore use the ANSI code page.
std::string NarrowUrl(const std::wstring& url);

std::wstring ErrorText(int result);

// The package's MD5 that the address names: its second-to-last path segment
// when that has the length of one (32 hex digits), else empty (nothing to check).
std::string ExpectedMd5(const std::string& url);

}  // namespace curl_common
