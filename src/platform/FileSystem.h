#pragma once
// Small file-system services: existence checks, folder creation, the private
// 0700 folders, whole-file reads and atomic replacement.
#include <optional>
#include <string>

namespace Platform {

bool PathExists(const std::string& path);
bool IsDirectory(const std::string& path);
// One level; true when it was created. Existing folders give false with EEXIST in errno.
bool MakeDirectory(const std::string& path);

// Creates `path` with mode 0700 when missing. An existing entry is accepted only
// when it is a real directory (not a symlink) owned by this user; its mode is then
// tightened to 0700. Anything else is refused, because a predictable name in a
// shared folder would let another user plant what we later run.
bool EnsurePrivateDirectory(const std::string& path);

// The whole file, or nothing when it is missing, unreadable or larger than maxBytes.
std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes);

// Writes a temporary file beside `path`, fsyncs it and renames it over `path`,
// so readers see either the old or the new content. New files get `mode`.
bool ReplaceFileAtomically(const std::string& path, const std::string& content, unsigned int mode = 0644);

// Holds an exclusive flock on `path` (created when missing) for its lifetime.
class FileLock final {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace Platform
