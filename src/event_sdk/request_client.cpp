#include "event_sdk/request_client.h"

#include <curl/curl.h>

#include <memory>
#include <stdexcept>

namespace event_sdk {
namespace {

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlank = " \t\r\n";
    const size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

size_t CollectBody(char* data, size_t size, size_t count, void* user) {
    static_cast<std::string*>(user)->append(data, size * count);
    return size * count;
}

size_t CollectHeader(char* data, size_t size, size_t count, void* user) {
    AddHeaderLine(*static_cast<std::map<std::string, std::string>*>(user), std::string_view(data, size * count));
    return size * count;
}

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

void AddHeaderLine(std::map<std::string, std::string>& headers, std::string_view line) {
    line = Trim(line);
    if (line.empty()) return;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        headers[std::string(line)] = "present";
        return;
    }
    headers[std::string(Trim(line.substr(0, colon)))] = std::string(Trim(line.substr(colon + 1)));
}

SdkResponse SdkRequestClient::Post(std::string_view url, std::string_view body, std::string_view cookie) const {
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) throw std::runtime_error("Couldn't initialize curl handle");

    const std::string address = m_baseUrl + std::string(url);
    SdkResponse response;
    std::unique_ptr<curl_slist, HeaderListDeleter> headers;
    if (!cookie.empty()) headers.reset(curl_slist_append(nullptr, ("Cookie: " + std::string(cookie)).c_str()));

    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, kUserAgent);
    if (headers) curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, CollectBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, CollectHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &response.headers);

    const CURLcode code = curl_easy_perform(h);
    if (code != CURLE_OK) {
        response.status = -1;
        response.body = curl_easy_strerror(code);
        return response;
    }
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

}  // namespace event_sdk
