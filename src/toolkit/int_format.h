#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace toolkit {

// Formats one integer into a pattern taken from a layout or a text table,
// such as "res\anim\%.3d.png" or "%d%%". The pattern is never handed to the C
// library: it must hold exactly one integer conversion (d, i or u, with
// optional flags "-+ 0", width and precision) besides "%%"; anything else, or
// a result longer than `maxLength`, gives nothing.
std::optional<std::wstring> FormatInteger(std::wstring_view pattern, long long value, size_t maxLength = 259);

}  // namespace toolkit
