#include "ui/MainWndSystem.h"

#include "install/Records.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "utils/Files.h"
#include "utils/Text.h"

namespace {

std::string Narrow(const std::wstring& text) { return Utils::ToNarrow(text, Utils::CP_UTF8); }

uint64_t FreeBytes(const std::wstring& folder)
{
    Utils::HardDiskManager disk;
    return disk.CheckFreeSpace(folder) ? disk.m_FreeBytesForCaller : 0;
}

void OpenUrl(const std::wstring& url) { Platform::SpawnDetached({"xdg-open", Narrow(url)}, ""); }

void StartProgram(const std::wstring& program, const std::wstring& folder)
{
    Platform::SpawnDetached({Narrow(program)}, Narrow(folder));
}

}  // namespace

void FillSystemDefaults(MainWndEnvironment& env)
{
    if (!env.findProcess) env.findProcess = [](const std::wstring& name) { return FindProcessByName(name); };
    if (!env.freeBytes) env.freeBytes = &FreeBytes;
    if (!env.checkNetwork) env.checkNetwork = [] { return uint32_t{0}; };
    if (!env.consoleUserIsAdmin) env.consoleUserIsAdmin = [] { return false; };
    if (!env.processIsAdmin) env.processIsAdmin = [] { return false; };
    if (!env.openUrl) env.openUrl = &OpenUrl;
    if (!env.startProgram) env.startProgram = &StartProgram;
    if (!env.browseFolder) env.browseFolder = [] { return std::optional<std::wstring>(); };
    if (env.appStore.empty())
        env.appStore = Utils::ToWide(Platform::FileNamePart(Platform::ExecutablePath()), Utils::CP_UTF8);
}
