#pragma once
// Reader and writer of "private profile" (INI) files with the rules programs
// written for the system functions expect: sections and keys compare without
// regard to case, a missing file/section/key yields the caller's default,
// values are cut to the caller's buffer, and a write rewrites only its own
// line and keeps every other line as it was. Files are UTF-8.
#include <optional>
#include <string>
#include <string_view>

namespace Platform {

// Size of the files we agree to read; larger files read as empty and are never rewritten.
inline constexpr size_t kMaxProfileBytes = 8u * 1024u * 1024u;

// Pure text operations, shared by the file functions and the fuzz target.
std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section, std::string_view key);
// Returns the new content, or nothing when the key or value cannot be stored
// (line breaks in them would inject other keys). A missing key deletes the
// section, a missing value deletes the key.
std::optional<std::string> SetProfileValue(std::string_view content, std::string_view section,
                                           const std::string* key, const std::string* value);

// Reads `section`/`key`; the result holds at most bufferChars - 1 characters
// (counted in wide characters, as the callers' buffers are).
std::wstring GetPrivateProfileStringW(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultValue, size_t bufferChars,
                                      const std::string& path);
std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, size_t bufferBytes, const std::string& path);
// Creates the file when missing and replaces it atomically.
bool WritePrivateProfileStringW(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                                const std::string& path);
bool WritePrivateProfileStringA(const std::string& section, const std::string* key, const std::string* value,
                                const std::string& path);

}  // namespace Platform
