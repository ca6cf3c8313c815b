#include "install/Records.h"

#include <cwchar>
#include <filesystem>

#include "platform/Clock.h"
#include "platform/Paths.h"
#include "platform/PrivateProfile.h"
#include "platform/ProcessList.h"
#include "utils/Files.h"
#include "utils/Guid.h"
#include "utils/Registry.h"
#include "utils/Text.h"

namespace {

namespace fs = std::filesystem;

std::string Narrow(const std::wstring& text) { return Utils::ToNarrow(text, Utils::CP_UTF8); }
std::wstring Wide(const std::string& text) { return Utils::ToWide(text, Utils::CP_UTF8); }

bool IsFile(const std::wstring& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(Narrow(path), ec);
}

std::wstring AppDataFolder() { return Wide(Platform::GetKnownFolder(Platform::KnownFolder::AppData)); }

std::wstring LocalTimeText() {
    const Platform::LocalTime t = Platform::GetLocalTime();
    wchar_t buf[64];
    std::swprintf(buf, 64, L"%d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buf;
}

void WriteIni(const std::wstring& section, const std::wstring& key, const std::wstring& value, const std::wstring& file) {
    Platform::WritePrivateProfileStringW(section, &key, &value, Narrow(file));
}

}  // namespace

uint32_t FindProcessByName(const std::wstring& imageName) {
    if (imageName.empty()) return 0;
    const auto ids = Platform::FindProcessesByImageName(Narrow(imageName));
    return ids.empty() ? 0 : ids.front();
}

std::wstring GetAnalyticsDataDir() {
    const std::wstring base = AppDataFolder();
    return base.empty() ? std::wstring() : base + L"/ZeRinData/Lexivar";
}

InstallRecords ReadInstallRecords() {
    InstallRecords records;
    uint32_t type = 0;
    if (!Utils::ReadRegString(L"InstallPath", type, records.registeredInstallPath)) records.registeredInstallPath.clear();
    if (!Utils::ReadRegString(L"UnInstallEp", type, records.registeredUninstEp)) records.registeredUninstEp.clear();
    if (records.registeredUninstEp.empty() && !records.registeredInstallPath.empty())
        records.registeredUninstEp = records.registeredInstallPath + L"/uninst.ep";
    return records;
}

std::wstring GetDefaultInstallDir(const InstallRecords& records, bool consoleUserIsAdmin, bool processIsAdmin) {
    if (!records.registeredInstallPath.empty() && IsFile(records.registeredUninstEp)) return records.registeredInstallPath;
    std::wstring base;
    if (consoleUserIsAdmin && processIsAdmin && !AppDataFolder().empty()) base = AppDataFolder() + L"/kavro";
    else base = Wide(Platform::GetKnownFolder(Platform::KnownFolder::ProgramFiles));
    return base + L"/Lexivar";
}

bool IsSameFolder(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    // Both taken as folders: "x/" and "x" are the same place.
    return (fs::path(Narrow(a)) / "").lexically_normal() == (fs::path(Narrow(b)) / "").lexically_normal();
}

bool IsDefaultInstallDir(const std::wstring& folder, const std::wstring& defaultInstallDir) {
    return IsSameFolder(folder, defaultInstallDir);
}

bool KeepsPreviousVersion(const std::wstring& registeredInstallPath, const std::wstring& installFolder) {
    if (!IsSameFolder(registeredInstallPath, installFolder)) return false;
    const std::wstring value = Platform::GetPrivateProfileStringW(L"Uninstall", L"IsOverride", L"true", 20,
                                                                  Narrow(installFolder + L"/set.ini"));
    return value == L"false";
}

void WriteInstallRegistry(const std::wstring& installDir, std::wstring& uninstallerEpPath) {
    Utils::WriteRegString(L"InstallPath", installDir);
    if (uninstallerEpPath.empty()) uninstallerEpPath = installDir + L"/uninst.ep";
    if (IsFile(uninstallerEpPath)) Utils::WriteRegString(L"UnInstallEp", uninstallerEpPath);
}

void WriteSetIni(const std::wstring& installDir, const std::wstring& appStore) {
    const std::wstring setIni = installDir + L"/set.ini";
    WriteIni(L"Install", L"APPStore", appStore, setIni);
    WriteIni(L"Install", L"AppName", L"Lexivar", setIni);
    WriteIni(L"Install", L"DeviceID", Utils::CreateGuidString(), setIni);
    const std::wstring dataDir = GetAnalyticsDataDir();
    if (dataDir.empty() || !Utils::CreateDirectories(dataDir)) return;
    const std::wstring analyticsIni = dataDir + L"/ZRAnalytics.ini";
    WriteIni(L"Install", L"ZRAnalyticsIni", analyticsIni, setIni);
    WriteIni(L"Init", L"UpdateTime", LocalTimeText(), analyticsIni);
}
