#include "app/InstallerSettings.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/PrivateProfile.h"
#include "utils/CommandLine.h"
#include "utils/OsVersion.h"
#include "utils/Text.h"

#include <cmath>
#include <optional>

namespace {

// Text values are read into buffers of 260 characters, so longer ones are cut.
constexpr size_t kValueChars = 260;

// Reads keys of one section from content read once; a file that cannot be
// read behaves as if every key were missing.
class SettingsSection final {
public:
    SettingsSection(std::optional<std::string> content, std::string section)
        : m_content(std::move(content)), m_section(std::move(section))
    {
    }

    std::wstring Text(const char* key, const std::wstring& defaultValue) const
    {
        std::optional<std::string> raw;
        if (m_content) raw = Platform::FindProfileValue(*m_content, m_section, key);
        std::wstring value = raw ? Utils::ToWide(*raw, Utils::CP_UTF8) : defaultValue;
        if (value.size() > kValueChars - 1) value.resize(kValueChars - 1);
        return value;
    }

private:
    std::optional<std::string> m_content;
    std::string m_section;
};

// A share of the progress bar; anything outside 0..1 (or not finite) is out of range.
bool IsShare(double value) { return std::isfinite(value) && value >= 0.0 && value <= 1.0; }

void AssignInt(int32_t& field, const std::wstring& text)
{
    int32_t value = 0;
    // Out of range keeps what the field held; not a number gives 0.
    if (Utils::ParseInt32(text, value) != Utils::NumberParse::OutOfRange) field = value;
}

// Forces the record to be built during static initialisation, before the entry runs.
[[maybe_unused]] InstallerSettings& g_staticInstance = InstallerSettings::Instance();

}  // namespace

std::wstring ResolveDownloadRoute(const std::wstring& address, const std::wstring& versionName)
{
    const std::wstring placeholder = L"${ROUTE}";
    if (address.find(placeholder) == std::wstring::npos) return address;
    const wchar_t* route = versionName.find(L"XP") != std::wstring::npos ? L"download_silent_xp" : L"download_silent";
    return Utils::ReplaceAll(address, placeholder, route);
}

std::wstring ResolveDownloadRoute(const std::wstring& address)
{
    if (address.find(L"${ROUTE}") == std::wstring::npos) return address;
    std::wstring platform;
    std::wstring name;
    Utils::GetOsVersionName(platform, name);
    return ResolveDownloadRoute(address, name);
}

InstallerSettings& InstallerSettings::Instance()
{
    static InstallerSettings instance(Platform::ExecutablePath());
    return instance;
}

InstallerSettings::InstallerSettings() { SetDownloadUrl(kDefaultDownloadUrl); }

InstallerSettings::InstallerSettings(const std::string& executablePath) : InstallerSettings()
{
    ExeName = Utils::ToWide(Platform::FileNamePart(executablePath), Utils::CP_UTF8);
    std::string folder = Platform::DirectoryPart(executablePath);
    if (folder.empty()) return;  // no folder to look in: defaults stay
    ReadSettingsFile(folder + "/" + Utils::ToNarrow(kSettingsFileName, Utils::CP_UTF8));
}

void InstallerSettings::SetDownloadUrl(const std::wstring& raw) { DownloadUrl = ResolveDownloadRoute(raw); }

void InstallerSettings::ReadSettingsFile(const std::string& iniPath)
{
    if (!Platform::PathExists(iniPath)) return;
    SettingsSection file(Platform::ReadWholeFile(iniPath, Platform::kMaxProfileBytes), "Install");

    SetDownloadUrl(file.Text("DownloadUrl", kDefaultDownloadUrl));
    AssignInt(DownloadType, file.Text("DownloadType", L"1"));
    IsCheckNet = file.Text("IsCheckNet", L"true") == L"true";
    IsEnableAppSensors = file.Text("IsEnableAppSensors", L"true") == L"true";
    DlAppNameSuffix = file.Text("DlAppNameSuffix", L".downloader");
    DlAppVersion = file.Text("m_DlAppVersion", L"");
    double scale = 0.0;
    // An empty or non-numeric value gives 0.0, as the plain conversion would.
    if (Utils::ParseDouble(file.Text("DownloadScale", L"0.7"), scale) == Utils::NumberParse::OutOfRange) scale = -1.0;
    if (IsShare(scale)) DownloadScale = scale;
    InstCmd = file.Text("InstCmd", L"");
    StatsUrl = file.Text("StatsUrl", kDefaultStatsUrl);
}

void InstallerSettings::ApplyCommandLine(const Utils::CommandLine& commandLine)
{
    if (commandLine.find(L"-downloadurl")) SetDownloadUrl(commandLine.GetString(L"-downloadurl"));
    if (commandLine.find(L"-downloadtype")) AssignInt(DownloadType, commandLine.GetString(L"-downloadtype"));
    if (commandLine.find(L"-downloadscale")) {
        // Not a number or not a share keeps the previous value rather than
        // handing the progress display something it cannot use.
        double scale = commandLine.GetDouble(L"-downloadscale", NAN);
        if (IsShare(scale)) DownloadScale = scale;
    }
    if (commandLine.find(L"-ischecknet")) IsCheckNet = commandLine.GetBool(L"-ischecknet");
    if (commandLine.find(L"-isenableappsensors")) IsEnableAppSensors = commandLine.GetBool(L"-isenableappsensors");
    if (commandLine.find(L"-dlappnamesuffix")) DlAppNameSuffix = commandLine.GetString(L"-dlappnamesuffix");
    if (commandLine.find(L"-dlappversion")) DlAppVersion = commandLine.GetString(L"-dlappversion");
    if (commandLine.find(L"-instcmd")) InstCmd = commandLine.GetString(L"-instcmd");
    if (commandLine.find(L"-statsurl")) StatsUrl = commandLine.GetString(L"-statsurl");
    if (commandLine.find(L"-language")) AssignInt(LanguageIndex, commandLine.GetString(L"-language"));
    if (commandLine.find(L"-insnew")) InsNew = commandLine.GetBool(L"-insnew");
}

void InstallerSettings::ApplyCommandLine() { ApplyCommandLine(Utils::CommandLine::FromProcess()); }
