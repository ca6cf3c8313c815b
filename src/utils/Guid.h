#pragma once
#include <string>

namespace Utils {

// 32 hexadecimal digits, no braces or hyphens; digits 13-16 are lower case,
// the rest upper case. Empty when the random source fails.
std::wstring CreateGuidString();

}  // namespace Utils
