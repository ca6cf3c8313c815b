#pragma once
// Small helpers for tests that need files, folders and checksums.

#include <cstdint>
#include <filesystem>
#include <string>

namespace lexivar::test {

// A fresh, empty folder under the build tree, unique to this process and name.
std::filesystem::path ScratchDir(const std::string& name);

// Deterministic, non-repeating-looking bytes so a shifted or duplicated block
// changes the checksum.
std::string MakeTestBytes(std::uint64_t size, std::uint32_t seed = 1);

// Writes `size` bytes of MakeTestBytes into `path`, streaming so that large files
// need no large buffer. Returns the MD5 of what was written (lowercase hex).
std::string WriteTestFile(const std::filesystem::path& path, std::uint64_t size, std::uint32_t seed = 1);

std::string Md5Hex(const std::string& bytes);
// Empty when the file cannot be read.
std::string Md5OfFile(const std::filesystem::path& path);

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// A /bin/sh script with this body, executable by its owner: a stand-in for a
// program the code under test starts by name from PATH.
void WriteScript(const std::filesystem::path& path, const std::string& body);

}  // namespace lexivar::test
