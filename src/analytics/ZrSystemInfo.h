#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

namespace zerin::analytics {

// Version numbers as the Windows kernel reports them; `loaded` is false when
// they could not be obtained at all.
struct WindowsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    bool loaded = true;
};

// The short version text reported for a Windows system ("XP", "7-32", "10", "11", ...).
std::string windowsVersionText(const WindowsVersion& version, bool is64, bool isServerR2);
// "Win64" or "Win32": the user agent's platform token on Windows.
std::string windowsPlatformToken(bool is64);
// "Mozilla/5.0(<name> <version>; <token>;)".
std::string userAgent(const std::string& osName, const std::string& versionText, const std::string& platformToken);

// The system the tracker actually runs on, reported as it is.
struct RunningSystem {
    std::string name;           // "$os", e.g. "Linux"
    std::string version;        // "$os_version", e.g. "12"
    std::string platformToken;  // user agent token, e.g. "Linux x86_64"
};
const RunningSystem& runningSystem();

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};
};

// 36 upper-case hexadecimal characters in the 8-4-4-4-12 form.
std::string formatGuid(const Guid& guid);

// An id built from a pseudo-random generator for when no GUID can be had.
std::string fallbackId(std::mt19937& generator);

// One GUID attempt; empty when the generator failed.
using GuidSource = std::function<std::optional<Guid>()>;
GuidSource systemGuidSource();

// A new distinct id: the first GUID is thrown away, then up to ten attempts;
// when all fail, the process-wide fallback generator (seeded with its default)
// supplies the id, so the tracker never runs without one.
std::string generateId(const GuidSource& source = systemGuidSource());

}  // namespace zerin::analytics
