#pragma once
// The single-instance guard: the first installer holds it for its whole run; a
// second one finds it taken and leaves. Released on destruction (and by the
// system when the process ends in any way).
#include <string>

#include "platform/SingleInstance.h"

namespace Utils {

inline constexpr wchar_t kInstanceMutexPrefix[] = L"D1A547DB89C0BC61_";

class InstanceMutex final {
public:
    explicit InstanceMutex(std::wstring baseName) : m_baseName(std::move(baseName)) {}

    // Does nothing when already held.
    void Acquire();
    void Release() { m_lock.Release(); }
    // Held only by the first instance.
    bool IsHeld() const { return m_lock.Held(); }
    std::wstring FullName() const { return kInstanceMutexPrefix + m_baseName; }

private:
    std::wstring m_baseName;
    Platform::SingleInstanceLock m_lock;
};

}  // namespace Utils
