#pragma once
// What the running system says about itself in os-release.
#include <string>
#include <string_view>

namespace Platform {

struct OsRelease {
    std::string name;       // NAME, e.g. "Debian GNU/Linux"
    std::string versionId;  // VERSION_ID, e.g. "12"
    std::string prettyName;
};

OsRelease ParseOsRelease(std::string_view content);
// /etc/os-release, falling back to /usr/lib/os-release.
OsRelease ReadOsRelease();

}  // namespace Platform
