#include "ui/MainWndSystem.h"

#include "install/Records.h"
#include "platform/FolderBrowser.h"
#include "platform/Paths.h"
#include "platform/ShellOpen.h"
#include "utils/Files.h"
#include "utils/System.h"
#include "utils/Text.h"

namespace {

std::string Narrow(const std::wstring& text) { return Utils::ToNarrow(text, Utils::CP_UTF8); }

uint64_t FreeBytes(const std::wstring& folder)
{
    Utils::HardDiskManager disk;
    return disk.CheckFreeSpace(folder) ? disk.m_FreeBytesForCaller : 0;
}

void OpenUrl(const std::wstring& url) { Platform::OpenUrl(Narrow(url)); }

void StartProgram(const std::wstring& program, const std::wstring& folder)
{
    Platform::StartDetached(Narrow(program), {}, Narrow(folder));
}

std::optional<std::wstring> BrowseFolder(const std::wstring& title, std::stop_token stop)
{
    auto folder = Platform::BrowseForFolder(Narrow(title), std::move(stop));
    if (!folder) return std::nullopt;
    return Utils::ToWide(*folder, Utils::CP_UTF8);
}

bool ConsoleUserIsAdmin()
{
    std::wstring user;
    return Utils::GetConsoleUserName(user) && Utils::IsAdminAccount(user);
}

}  // namespace

void FillSystemDefaults(MainWndEnvironment& env)
{
    if (!env.findProcess) env.findProcess = [](const std::wstring& name) { return FindProcessByName(name); };
    if (!env.freeBytes) env.freeBytes = &FreeBytes;
    if (!env.checkNetwork) env.checkNetwork = [] { return Utils::CheckNetwork(); };
    if (!env.consoleUserIsAdmin) env.consoleUserIsAdmin = &ConsoleUserIsAdmin;
    if (!env.processIsAdmin) env.processIsAdmin = [] { return Utils::IsProcessAdmin(); };
    if (!env.openUrl) env.openUrl = &OpenUrl;
    if (!env.startProgram) env.startProgram = &StartProgram;
    if (!env.browseFolder) env.browseFolder = &BrowseFolder;
    if (env.appStore.empty())
        env.appStore = Utils::ToWide(Platform::FileNamePart(Platform::ExecutablePath()), Utils::CP_UTF8);
}
