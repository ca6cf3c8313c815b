#include "event_sdk/json_writer.h"

#include <charconv>
#include <cmath>
#include <ctime>

#include "event_sdk/properties.h"

namespace event_sdk {
namespace {

// Escape for each byte below 0x20 plus '"' and '\\'; zero means copy as is.
constexpr char ShortEscape(unsigned char c) {
    switch (c) {
        case '\b': return 'b';
        case '\t': return 't';
        case '\n': return 'n';
        case '\f': return 'f';
        case '\r': return 'r';
        case '"': return '"';
        case '\\': return '\\';
        default: return 0;
    }
}

constexpr bool NeedsEscape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

void AppendEscaped(std::string& out, unsigned char c) {
    static constexpr char kHex[] = "0123456789abcdef";
    if (char e = ShortEscape(c)) {
        out += '\\';
        out += e;
        return;
    }
    const char unicode[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
    out.append(unicode, sizeof unicode);
}

void AppendPadded(std::string& out, int value, int width) {
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    for (int n = static_cast<int>(end - buf); n < width; ++n) out += '0';
    out.append(buf, end);
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out.reserve(out.size() + text.size() + 2);
    out += '"';
    size_t runStart = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (!NeedsEscape(c)) continue;
        out.append(text.data() + runStart, i - runStart);
        AppendEscaped(out, c);
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
    out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buf[32];
    // Same text as a default-formatted stream (printf's %g with precision 6).
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    out.append(buf, end);
}

void AppendJsonInteger(std::string& out, int64_t value) {
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, end);
}

void AppendJsonDateTime(std::string& out, const DateTime& value) {
    std::tm local{};
    const auto seconds = static_cast<std::time_t>(value.seconds);
    if (!localtime_r(&seconds, &local)) local = std::tm{};
    out += '"';
    AppendPadded(out, local.tm_year + 1900, 4);
    out += '-';
    AppendPadded(out, local.tm_mon + 1, 2);
    out += '-';
    AppendPadded(out, local.tm_mday, 2);
    out += ' ';
    AppendPadded(out, local.tm_hour, 2);
    out += ':';
    AppendPadded(out, local.tm_min, 2);
    out += ':';
    AppendPadded(out, local.tm_sec, 2);
    out += '.';
    AppendPadded(out, value.milliseconds, 3);
    out += '"';
}

}  // namespace event_sdk
