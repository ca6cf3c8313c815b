#pragma once
// Runs (a temporary copy of) the installed version's uninstaller silently
// against its folder and follows it through the uninstaller dialect.
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "download/Downloader.h"
#include "install/ChildSession.h"
#include "install/ConsoleProtocol.h"
#include "utils/Thread.h"

class CUnInstaller final {
public:
    static constexpr std::chrono::milliseconds kDefaultExitGrace{30000};
    // The two administrator checks, asked at each start: whether the console
    // user has an administrator account, whether this process is elevated.
    using AdminQuery = std::function<bool()>;

    CUnInstaller(StatusCallback callback, std::wstring uninstallerPath, std::wstring oldInstallFolder);
    ~CUnInstaller();
    CUnInstaller(const CUnInstaller&) = delete;
    CUnInstaller& operator=(const CUnInstaller&) = delete;

    // Builds the command line and starts the worker (after an earlier one has ended).
    void Start();
    std::wstring BuildCommandLine() const;

    void SetAdminQueries(AdminQuery consoleUserIsAdmin, AdminQuery processIsAdmin);
    void SetExitGrace(std::chrono::milliseconds grace) { m_exitGrace = grace; }
    const std::wstring& GetCommandLine() const { return m_commandLine; }

private:
    void Run();
    void Send(int32_t code, double value, const wchar_t* text = L"") const;

    StatusCallback m_callback;
    std::wstring m_commandLine;
    std::wstring m_uninstallerPath;
    std::wstring m_oldInstallFolder;
    Install::ProtocolState m_protocol;
    std::unique_ptr<Utils::Thread> m_worker;
    Install::ChildSession m_child;
    AdminQuery m_consoleUserIsAdmin;
    AdminQuery m_processIsAdmin;
    std::chrono::milliseconds m_exitGrace = kDefaultExitGrace;
};
