#pragma once
// Files and folders: the private temporary folder, folder creation, the MD5 of
// a file and free disk space. Failures are reported by the result only.
#include <cstdint>
#include <string>

namespace Utils {

// Longest path the folder helpers accept, as the callers' buffers allow.
inline constexpr size_t kMaxPathChars = 260;

// The installer's private folder inside the user's temporary folder, ending in
// "/"; empty when it cannot be created or is not safely ours (another owner, a
// symlink, or not a folder).
std::wstring GetTempFolder();

// Creates every missing folder along `path`; existing ones are accepted.
// Paths longer than kMaxPathChars give false and create nothing.
bool CreateDirectories(const std::wstring& path);

// 32 lower-case hexadecimal digits, or empty for an empty path or unreadable file.
std::string FileMd5(const std::string& path);

class HardDiskManager {
public:
    virtual ~HardDiskManager() = default;

    // Fills the three counts for the volume holding `directory` (the nearest
    // existing ancestor of it). Logs the system error code on failure.
    bool CheckFreeSpace(const std::wstring& directory);

    uint64_t m_FreeBytesForCaller = 0;
    uint64_t m_TotalBytes = 0;
    uint64_t m_TotalFreeBytes = 0;
};

}  // namespace Utils
