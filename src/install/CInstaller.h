#pragma once
// Runs the downloaded package installer silently and follows it through the
// console line protocol on its standard output.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "download/Downloader.h"
#include "install/ChildSession.h"
#include "install/ConsoleProtocol.h"
#include "utils/Thread.h"

class CInstaller final {
public:
    // How long the worker waits for the child to end after its final line.
    static constexpr std::chrono::milliseconds kDefaultExitGrace{30000};

    CInstaller(StatusCallback callback, std::wstring packageArgument, std::wstring installFolder, bool desktop,
               bool quickLaunch, bool adminAccount);
    ~CInstaller();
    CInstaller(const CInstaller&) = delete;
    CInstaller& operator=(const CInstaller&) = delete;

    // Builds the command line, waits for an earlier worker and starts a new one; returns at once.
    void Start();
    // Parses a block of output lines; 0, 1 (success line) or 1000 (failure line).
    int32_t Parse(const std::wstring& text);

    // The command line a start would use, from the current fields.
    std::wstring BuildCommandLine() const;

    void SetInstallFolder(std::wstring folder) { m_installFolder = std::move(folder); }
    void SetDesktop(bool value) { m_desktop = value; }
    void SetQuickLaunch(bool value) { m_quickLaunch = value; }
    void SetAdminAccount(bool value) { m_adminAccount = value; }
    void SetAuthorization(bool value) { m_authorization = value; }
    void SetInstallLanguage(std::wstring language) { m_installLanguage = std::move(language); }
    // Extra text appended to the command line (the settings' InstCmd).
    void SetInstCmd(std::wstring text) { m_instCmd = std::move(text); }
    void SetExitGrace(std::chrono::milliseconds grace) { m_exitGrace = grace; }

    const std::wstring& GetCommandLine() const { return m_commandLine; }
    unsigned int GetOutputCodePage() const { return m_protocol.codePage; }
    const int32_t* GetInstallVersion() const { return m_protocol.version; }

private:
    void Run();
    void Send(int32_t code, double value) const;

    StatusCallback m_callback;
    std::wstring m_packageArgument;
    std::wstring m_installFolder;
    std::wstring m_commandLine;
    bool m_quickLaunch = false;
    bool m_desktop = false;
    Install::ProtocolState m_protocol;
    std::unique_ptr<Utils::Thread> m_worker;
    Install::ChildSession m_child;
    bool m_adminAccount = false;
    bool m_authorization = true;
    std::wstring m_installLanguage;
    std::wstring m_instCmd;
    std::chrono::milliseconds m_exitGrace = kDefaultExitGrace;
};
