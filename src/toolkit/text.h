#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers shared by the attribute parsers; all of them are total:
// junk input yields a default, never an exception.
namespace toolkit {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// Case-insensitive comparison for attribute and class names.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
std::wstring ToLower(std::wstring_view text);

// Leading blanks, optional sign, decimal digits; stops at the first other
// character and gives 0 when there are no digits. Saturates instead of overflowing.
int ToInt(std::wstring_view text);

// Sizes and offsets in layouts are limited to this magnitude.
constexpr int kMaxCoordinate = 16384;

// Exactly N comma-separated integers with optional blanks; anything else fails.
// Values are clamped to +-kMaxCoordinate.
std::optional<std::vector<int>> ParseIntList(std::wstring_view text, size_t count);

// "true" in any letter case.
bool IsTrue(std::wstring_view text);

// "#AARRGGBB", "0xAARRGGBB", a bare "AARRGGBB", or "#RRGGBB" (opaque).
std::optional<uint32_t> ParseColour(std::wstring_view text);

}  // namespace toolkit
