#include "utils/OsVersion.h"

#include "platform/OsRelease.h"
#include "utils/Text.h"

namespace Utils {
namespace {

std::wstring Numbers(uint32_t major, uint32_t minor, uint32_t build)
{
    return std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." + std::to_wstring(build & 0xFFFFu);
}

}  // namespace

std::wstring WindowsVersionName(uint32_t major, uint32_t minor, uint32_t build, bool serverR2)
{
    if (major <= 4) return L"XP-";
    if (major == 5) {
        if (minor == 0) return L"2K";
        if (minor == 1) return L"XP";
        if (minor == 2) return serverR2 ? L"Server 2003 R2" : L"Server 2003";
        return L"XP+";
    }
    if (major == 6) {
        static const wchar_t* const kNames[] = {L"Vista", L"7", L"8", L"8.1"};
        return minor < 4 ? kNames[minor] : L"8.1+";
    }
    if (major == 10) return minor == 0 ? L"10" : L"10+";
    return Numbers(major, minor, build);
}

void GetOsVersionName(std::wstring& platform, std::wstring& name)
{
    Platform::OsRelease release = Platform::ReadOsRelease();
    platform = L"Linux";
    name = ToWide(release.versionId.empty() ? release.name : release.versionId, CP_UTF8);
}

}  // namespace Utils
