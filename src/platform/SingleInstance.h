#pragma once
// One installer at a time: an exclusive flock on a lock file named after the
// full mutex name in the user's runtime folder. The kernel drops the lock when
// the process ends, crash or not, so a stale file never blocks a new start.
#include <string>

namespace Platform {

class SingleInstanceLock final {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock() { Release(); }
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process now holds the lock (or already held it).
    bool Acquire(const std::string& fullName);
    void Release();
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

}  // namespace Platform
