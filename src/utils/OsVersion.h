#pragma once
#include <cstdint>
#include <string>

namespace Utils {

// The short name the installer gives a Windows version ("XP", "7", "10+", ...).
// build is reduced to its low 16 bits; serverR2 is the system's R2 flag.
std::wstring WindowsVersionName(uint32_t major, uint32_t minor, uint32_t build, bool serverR2);

// The running system, reported truthfully: platform "Linux" and the
// distribution's version ("12"), or "Windows" and the short name there.
void GetOsVersionName(std::wstring& platform, std::wstring& name);

}  // namespace Utils
