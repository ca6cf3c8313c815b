#pragma once
// The traces an installation leaves and reads back: the product's registry
// values, "set.ini" in the installed folder and the analytics data folder,
// plus the lookup of running processes by image name. Free functions; the
// main window keeps the fields they fill.
#include <cstdint>
#include <string>

// Process id of the first other process whose image name is exactly
// `imageName` (case-sensitive), 0 when none runs.
uint32_t FindProcessByName(const std::wstring& imageName);

// "<application data>/ZeRinData/Lexivar".
std::wstring GetAnalyticsDataDir();

struct InstallRecords {
    std::wstring registeredInstallPath;
    std::wstring registeredUninstEp;  // "<folder>/uninst.ep" when only the folder is recorded
};

InstallRecords ReadInstallRecords();

// The recorded folder when its uninstaller still exists, else "Lexivar" in the
// folder the flags choose: application data + "kavro" for an administrator in
// an elevated process, the program-files folder otherwise.
std::wstring GetDefaultInstallDir(const InstallRecords& records, bool consoleUserIsAdmin, bool processIsAdmin);

// True when both name the same folder (trailing separators and "." ignored).
bool IsSameFolder(const std::wstring& a, const std::wstring& b);
bool IsDefaultInstallDir(const std::wstring& folder, const std::wstring& defaultInstallDir);

// True when installing into the recorded folder whose set.ini says
// IsOverride=false: the earlier version is then kept, not uninstalled.
bool KeepsPreviousVersion(const std::wstring& registeredInstallPath, const std::wstring& installFolder);

// Records "InstallPath" and, when that file exists, "UnInstallEp".
// An empty uninstallerEpPath becomes "<installDir>/uninst.ep".
void WriteInstallRegistry(const std::wstring& installDir, std::wstring& uninstallerEpPath);

// Writes "Install" keys of "<installDir>/set.ini" and, when the analytics data
// folder exists or can be made, its pointer and "ZRAnalytics.ini". appStore is
// the file name of the running installer.
void WriteSetIni(const std::wstring& installDir, const std::wstring& appStore);
