#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Bytes linked into the executable and found by (type, id), the way the program
// finds its skin archive and window icon. Blobs register themselves during static
// initialisation (see the generated object of the skin), so lookups need no files
// on disk and cannot fail halfway through a run.
namespace Platform {

using ResourceBytes = std::span<const std::uint8_t>;

// The window icon is stored as PNG bytes under this type.
inline constexpr std::string_view kIconResourceType = "ICON";

// Registers a blob; the bytes must outlive the process (linked data does).
// A second registration of the same (type, id) is refused and returns false.
bool RegisterResource(std::string_view type, int id, ResourceBytes bytes);

// The registered bytes, or an empty span when nothing is registered under
// (type, id). Type names compare without regard to ASCII letter case.
ResourceBytes FindResourceBytes(std::string_view type, int id);

}  // namespace Platform
