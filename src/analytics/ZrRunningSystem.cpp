#include <algorithm>
#include <iterator>

#include "analytics/ZrSystemInfo.h"
#include "platform/Guid.h"
#include "platform/OsRelease.h"

namespace zerin::analytics {
namespace {

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

std::string distributionVersion() {
    const Platform::OsRelease release = Platform::ReadOsRelease();
    if (!release.versionId.empty()) return release.versionId;
    return release.name.empty() ? "unknown" : release.name;
}

}  // namespace

const RunningSystem& runningSystem() {
    static const RunningSystem system{"Linux", distributionVersion(), machineToken()};
    return system;
}

GuidSource systemGuidSource() {
    return []() -> std::optional<Guid> {
        Platform::Guid raw;
        if (!Platform::CreateGuid(raw)) return std::nullopt;
        Guid guid{raw.Data1, raw.Data2, raw.Data3, {}};
        std::copy(std::begin(raw.Data4), std::end(raw.Data4), guid.data4.begin());
        return guid;
    };
}

}  // namespace zerin::analytics
