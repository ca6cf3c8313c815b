#include <fstream>
#include <random>

#include "analytics/ZrSystemInfo.h"

namespace zerin::analytics {
namespace {

// The distribution's version from os-release, unquoted; "unknown" when absent.
std::string distributionVersion() {
    std::ifstream in("/etc/os-release");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VERSION_ID=", 0) != 0) continue;
        std::string value = line.substr(11);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')) value = value.substr(1, value.size() - 2);
        if (!value.empty()) return value;
    }
    return "unknown";
}

std::string machineToken() {
#if defined(__x86_64__)
    return "Linux x86_64";
#elif defined(__aarch64__)
    return "Linux aarch64";
#elif defined(__i386__)
    return "Linux i686";
#else
    return "Linux";
#endif
}

}  // namespace

const RunningSystem& runningSystem() {
    static const RunningSystem system{"Linux", distributionVersion(), machineToken()};
    return system;
}

GuidSource systemGuidSource() {
    return []() -> std::optional<Guid> {
        try {
            std::random_device device;
            Guid g;
            g.data1 = device();
            const uint32_t mid = device();
            g.data2 = static_cast<uint16_t>(mid >> 16);
            // A random (version 4) GUID with the standard variant bits.
            g.data3 = static_cast<uint16_t>((mid & 0x0FFF) | 0x4000);
            const uint32_t lo = device(), hi = device();
            for (int i = 0; i < 4; ++i) {
                g.data4[static_cast<size_t>(i)] = static_cast<uint8_t>(lo >> (8 * i));
                g.data4[static_cast<size_t>(i + 4)] = static_cast<uint8_t>(hi >> (8 * i));
            }
            g.data4[0] = static_cast<uint8_t>((g.data4[0] & 0x3F) | 0x80);
            return g;
        } catch (...) {
            return std::nullopt;
        }
    };
}

}  // namespace zerin::analytics
