#pragma once
// Conversions between wide text and numbered code pages. The ANSI code page of
// this platform is UTF-8; other numbered pages (936, 950, 1252, ...) go through iconv.
#include <string>
#include <string_view>

namespace Platform {

inline constexpr unsigned int kCodePageAnsi = 0;
inline constexpr unsigned int kCodePageUtf8 = 65001;

// Bytes that are not valid in the page become U+FFFD, as the system converter does.
std::wstring MultiByteToWide(std::string_view bytes, unsigned int codePage);
// Characters the page cannot represent become '?'.
std::string WideToMultiByte(std::wstring_view text, unsigned int codePage);

}  // namespace Platform
