#include <cstring>
#include <fstream>

#include "payload.hpp"

namespace lexivar::package {

bool FindPayload(const std::filesystem::path& file, PayloadRegion& out) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const auto end = static_cast<std::uint64_t>(in.tellg());
  if (end < kTrailerSize) return false;
  in.seekg(static_cast<std::streamoff>(end - kTrailerSize));
  unsigned char trailer[kTrailerSize];
  if (!in.read(reinterpret_cast<char*>(trailer), kTrailerSize)) return false;
  if (std::memcmp(trailer, kTrailerMagic, sizeof kTrailerMagic) != 0) return false;
  std::uint64_t offset = 0;
  for (int i = 7; i >= 0; --i) offset = (offset << 8) | trailer[8 + i];
  if (offset >= end - kTrailerSize) return false;
  out.m_offset = offset;
  out.m_size = end - kTrailerSize - offset;
  return true;
}

std::string MakeTrailer(std::uint64_t offset) {
  std::string t(kTrailerMagic, sizeof kTrailerMagic);
  for (int i = 0; i < 8; ++i) t.push_back(static_cast<char>((offset >> (8 * i)) & 0xFF));
  return t;
}

}  // namespace lexivar::package
