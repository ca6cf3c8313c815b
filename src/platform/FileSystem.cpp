#include "platform/FileSystem.h"

#include "platform/Process.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

bool PathExists(const std::string& path)
{
    struct stat st{};
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path)
{
    struct stat st{};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectory(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

bool EnsurePrivateDirectory(const std::string& path)
{
    if (path.empty()) return false;
    if (mkdir(path.c_str(), 0700) == 0) return true;
    if (errno != EEXIST) return false;
    // O_NOFOLLOW|O_DIRECTORY refuses a symlink or a file planted under the name;
    // checking through the open descriptor leaves no window for a swap.
    int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st{};
    bool ok = fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid();
    if (ok && (st.st_mode & 07777) != 0700) ok = fchmod(fd, 0700) == 0;
    close(fd);
    return ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path, size_t maxBytes)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st{};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<size_t>(st.st_size) > maxBytes) {
        close(fd);
        return std::nullopt;
    }
    std::string content;
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        content.append(buffer, static_cast<size_t>(n));
        if (content.size() > maxBytes) {  // grew while we read it
            close(fd);
            return std::nullopt;
        }
    }
    close(fd);
    return content;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& content, unsigned int mode)
{
    struct stat st{};
    if (stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;  // keep the file's own mode
    static std::atomic<unsigned int> counter{0};
    std::string temp = path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) return false;
    bool ok = WriteFile(fd, content.data(), content.size()) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) unlink(temp.c_str());
    return ok;
}

FileLock::FileLock(const std::string& path)
{
    m_fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) return;
    while (flock(m_fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(m_fd);
            m_fd = -1;
            return;
        }
    }
}

FileLock::~FileLock()
{
    if (m_fd >= 0) close(m_fd);  // closing releases the lock
}

}  // namespace Platform
