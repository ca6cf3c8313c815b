#include "download/CurlCommon.h"

#include <atomic>

#include "utils/Text.h"

namespace curl_common {

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

int AbortWhenStopped(void* stopFlag, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<std::atomic<bool>*>(stopFlag)->load() ? 1 : 0;
}

std::string NarrowUrl(const std::wstring& url) {
    const bool local = url.rfind(L"file:///", 0) == 0;
    return Utils::ToNarrow(url, local ? 0 : 65001);
}

std::string ExpectedMd5(const std::string& url) {
    std::string segment = Utils::UrlParentSegment(url);
    return segment.size() == 32 ? segment : std::string();
}

std::wstring ErrorText(int result) {
    return Utils::ToWide(curl_easy_strerror(static_cast<CURLcode>(result)), 65001);
}

}  // namespace curl_common
