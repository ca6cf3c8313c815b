#pragma once
// The payload appended to the package installer: an archive (any format and
// filter libarchive reads) followed by a fixed trailer that says where it
// starts, so the program finds its own payload without a second file.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace lexivar::package {

inline constexpr char kTrailerMagic[8] = {'L', 'X', 'P', 'A', 'Y', 'L', 'D', '1'};
inline constexpr std::size_t kTrailerSize = 16;  // magic + little-endian start offset

struct PayloadRegion final {
  std::uint64_t m_offset = 0;
  std::uint64_t m_size = 0;
};

// Reads the trailer at the end of file; false when there is none or it is inconsistent.
bool FindPayload(const std::filesystem::path& file, PayloadRegion& out);

// Appends the trailer for a payload starting at offset.
std::string MakeTrailer(std::uint64_t offset);

struct ExtractResult final {
  bool m_ok = false;
  std::string m_error;
  std::vector<std::string> m_files;  // absolute paths written
  std::vector<std::string> m_dirs;   // folders that did not exist before
};

// Extracts the region of file into dest (which must exist). Entries that
// would land outside dest are refused; a refusal or write failure removes
// what this call extracted so far. progress gets the consumed share (0..1).
ExtractResult ExtractPayload(const std::filesystem::path& file, const PayloadRegion& region,
                             const std::filesystem::path& dest,
                             const std::function<void(double)>& progress);

// True when an archive path stays inside the folder it is extracted to.
bool IsContainedEntryPath(const std::string& path);

}  // namespace lexivar::package
