#pragma once
// Text helpers: code pages, trimming, address encoding and number parsing.
#include <cstdint>
#include <string>
#include <string_view>

namespace Utils {

// Code page numbers as the callers know them; the ANSI page is UTF-8 here.
inline constexpr unsigned int CP_ACP = 0;
inline constexpr unsigned int CP_UTF8 = 65001;

// Both stop at the first zero character, like the system converters with a
// length of -1. Invalid bytes become U+FFFD; unrepresentable characters '?'.
std::wstring ToWide(std::string_view bytes, unsigned int codePage);
std::string ToNarrow(std::wstring_view text, unsigned int codePage);
std::string Utf8ToAnsi(std::string_view bytes);

// White space is what the C library's isspace accepts: " \t\n\v\f\r".
std::wstring TrimLeft(std::wstring_view text);
std::wstring TrimRight(std::wstring_view text);
std::wstring Trim(std::wstring_view text);

// UTF-8 bytes 33..126 stay, a space becomes "+", every other byte "%XX".
std::wstring UrlEncode(std::wstring_view text);
// The path segment before the last "/" segment: ".../pkg/0123abcd/setup.exe" -> "0123abcd".
std::string UrlParentSegment(std::string_view address);
// Replaces every occurrence of `pattern`, scanning forwards, so a replacement
// that contains the pattern cannot make it loop. An empty pattern changes nothing.
std::wstring ReplaceAll(std::wstring_view text, std::wstring_view pattern, std::wstring_view replacement);

enum class NumberParse {
    Ok,
    NotANumber,  // the text does not start with a number (after white space)
    OutOfRange,  // a number too large for the type; integers saturate
};
// The standard conversions: leading white space skipped, characters after the number ignored.
NumberParse ParseInt32(std::wstring_view text, int32_t& value);
NumberParse ParseDouble(std::wstring_view text, double& value);

}  // namespace Utils
