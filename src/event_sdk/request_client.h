#pragma once

#include <map>
#include <string>
#include <string_view>

namespace event_sdk {

struct SdkResponse {
    long status = -1;  // -1: the transfer itself failed; body holds its error text
    std::string body;
    std::map<std::string, std::string> headers;
};

// One POST of one batch. The statistics endpoint is reached over whatever
// network the user has, so the request is bounded to 3 seconds and never
// follows a redirect.
class SdkRequestClient final {
public:
    explicit SdkRequestClient(std::string baseUrl = {}) : m_baseUrl(std::move(baseUrl)) {}

    SdkResponse Post(std::string_view url, std::string_view body, std::string_view cookie) const;

    static constexpr long kTimeoutSeconds = 3;
    static constexpr const char* kUserAgent = "ZrEvents CPP SDK 0.9";

private:
    std::string m_baseUrl;
};

// "Name: value" → {"Name", "value"}, both trimmed; a line without a colon is
// kept with the value "present". Blank lines (the header block's end) are skipped.
void AddHeaderLine(std::map<std::string, std::string>& headers, std::string_view line);

}  // namespace event_sdk
