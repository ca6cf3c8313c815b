#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace event_sdk {

struct DateTime;

// JSON string in double quotes. Backspace, tab, line feed, form feed, carriage
// return, the double quote and the backslash get their short escapes; other
// control bytes (which valid property strings never hold, but distinct ids and
// list items may) become \u00XX so the record always stays parseable JSON.
void AppendJsonString(std::string& out, std::string_view text);

// At most 6 significant digits, exponent form when needed (12.5, 1.23457e+06).
// JSON has no form for infinities or NaN; they are written as null so one bad
// number cannot spoil the whole batch it travels in.
void AppendJsonNumber(std::string& out, double value);

void AppendJsonInteger(std::string& out, int64_t value);

// "YYYY-MM-DD hh:mm:ss.mmm" in local time, in double quotes.
void AppendJsonDateTime(std::string& out, const DateTime& value);

}  // namespace event_sdk
