#include "analytics/ZrSystemInfo.h"

#include <cinttypes>
#include <cstdio>
#include <mutex>

namespace zerin::analytics {

std::string windowsVersionText(const WindowsVersion& v, bool is64, bool isServerR2) {
    if (!v.loaded || v.major <= 4) return "XP-";
    if (v.major == 5) {
        if (v.minor == 0) return "2K";
        if (v.minor == 1) return "XP";
        if (v.minor == 2) return is64 ? "XP64" : (isServerR2 ? "Server 2003 R2" : "Server 2003");
        return "XP+";
    }
    if (v.major == 6) {
        switch (v.minor) {
            case 0: return is64 ? "Vista64" : "Vista";
            case 1: return is64 ? "7" : "7-32";
            case 2: return is64 ? "8" : "8-32";
            case 3: return "8.1";
            default: return "8.1+";
        }
    }
    if (v.major == 10) {
        if (v.minor == 0) return (v.build & 0xFFFF) < 22000 ? "10" : "11";
        return "11+";
    }
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.build & 0xFFFF);
}

std::string windowsPlatformToken(bool is64) { return is64 ? "Win64" : "Win32"; }

std::string userAgent(const std::string& osName, const std::string& versionText, const std::string& platformToken) {
    return "Mozilla/5.0(" + osName + " " + versionText + "; " + platformToken + ";)";
}

std::string formatGuid(const Guid& g) {
    const auto& d = g.data4;
    char text[40];
    std::snprintf(text, sizeof text, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned{g.data1},
                  unsigned{g.data2}, unsigned{g.data3}, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
    return text;
}

std::string fallbackId(std::mt19937& generator) {
    std::uniform_int_distribution<uint32_t> draw(0, 2147483646);
    std::array<uint64_t, 8> v{};
    for (auto& value : v) value = uint64_t{draw(generator)} + draw(generator);
    // Shaped like a version-4 GUID: the version nibble and the variant bits are fixed.
    v[3] = (v[3] & 0xFFF) | 0x4000;
    v[4] = v[4] % 0x3FFF + 0x8000;
    char text[160];
    std::snprintf(text, sizeof text, "%" PRIx64 "%" PRIx64 "-%" PRIx64 "-%" PRIx64 "-%" PRIx64 "-%" PRIx64 "%" PRIx64
                  "%" PRIx64, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    return text;
}

std::string generateId(const GuidSource& source) {
    (void)source();  // the first GUID of a run is discarded
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (auto guid = source()) return formatGuid(*guid);
    }
    static std::mutex mutex;
    static std::mt19937 generator;  // default seed, created on first use
    std::lock_guard lock(mutex);
    return fallbackId(generator);
}

}  // namespace zerin::analytics
