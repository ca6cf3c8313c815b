#include "platform/SingleInstance.h"

#include "platform/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Platform {

bool SingleInstanceLock::Acquire(const std::string& fullName)
{
    if (m_fd >= 0) return true;
    if (fullName.empty() || fullName.find('/') != std::string::npos) return false;
    std::string folder = GetKnownFolder(KnownFolder::Runtime);
    if (folder.empty()) return false;
    // Close-on-exec: a child that inherited the descriptor would keep the lock after we end.
    int fd = open((folder + "/" + fullName + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    int rc;
    while ((rc = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (rc != 0) {
        close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void SingleInstanceLock::Release()
{
    if (m_fd < 0) return;
    close(m_fd);
    m_fd = -1;
}

}  // namespace Platform
