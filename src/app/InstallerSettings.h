#pragma once
// The one settings record of the installer, filled in three layers: built-in
// defaults, then "ZerinInstallerConfig.ini" beside the executable (section
// "Install"), both during static initialisation, then the command line, which
// the entry applies once it knows it is the only installer running. After that
// the record is only read (CurlUsable aside, cleared once by the entry before
// any worker exists), so it needs no lock.
#include <cstdint>
#include <string>

namespace Utils {
class CommandLine;
}

inline constexpr wchar_t kDefaultDownloadUrl[] = L"https://download.lexivar.example/software/364";
// Where usage events are posted; products and tests point it at their own collector.
inline constexpr wchar_t kDefaultStatsUrl[] = L"https://stats.lexivar.example/collect?project=pc";
inline constexpr wchar_t kSettingsFileName[] = L"ZerinInstallerConfig.ini";
inline constexpr wchar_t kProductExeName[] = L"lexivar.exe";
inline constexpr wchar_t kWindowName[] = L"Lexivar";
inline constexpr wchar_t kMutexBaseName[] = L"Installer_Lexivar";

// Replaces every "${ROUTE}" by the route for the running system:
// "download_silent_xp" when the short version name contains "XP", else "download_silent".
std::wstring ResolveDownloadRoute(const std::wstring& address);
std::wstring ResolveDownloadRoute(const std::wstring& address, const std::wstring& versionName);

class InstallerSettings final {
public:
    // The process-wide record, built with defaults and the settings file during
    // static initialisation.
    static InstallerSettings& Instance();

    // Defaults only.
    InstallerSettings();
    // Defaults, then the settings file beside `executablePath` (UTF-8, "/" paths).
    explicit InstallerSettings(const std::string& executablePath);

    void SetDownloadUrl(const std::wstring& raw);
    // Reads section "Install" of the given file; a missing file changes nothing.
    void ReadSettingsFile(const std::string& iniPath);
    void ApplyCommandLine(const Utils::CommandLine& commandLine);
    // The running process's command line.
    void ApplyCommandLine();

    std::wstring ProductName = L"Lexivar";
    std::wstring Version = L"1.7.9";
    std::wstring ExeName;
    std::wstring DlAppNameSuffix = L".downloader";
    std::wstring DlAppVersion;
    std::wstring InstCmd;
    std::wstring StatsUrl = kDefaultStatsUrl;
    std::wstring DownloadUrl;
    int32_t DownloadType = 1;
    bool IsCheckNet = false;
    bool IsEnableAppSensors = true;
    double DownloadScale = 0.7;
    bool CurlUsable = true;
    int32_t LanguageIndex = 0;
    bool InsNew = false;
};
