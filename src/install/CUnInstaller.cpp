#include "install/CUnInstaller.h"

#include <filesystem>

#include "install/InstallCodes.h"
#include "install/OutputDecoder.h"
#include "utils/System.h"
#include "utils/Text.h"

CUnInstaller::CUnInstaller(StatusCallback callback, std::wstring uninstallerPath, std::wstring oldInstallFolder)
    : m_callback(std::move(callback)),
      m_uninstallerPath(std::move(uninstallerPath)),
      m_oldInstallFolder(std::move(oldInstallFolder)),
      m_consoleUserIsAdmin([] {
          std::wstring user;
          return Utils::GetConsoleUserName(user) && Utils::IsAdminAccount(user);
      }),
      m_processIsAdmin(&Utils::IsProcessAdmin) {}

CUnInstaller::~CUnInstaller() {
    if (m_worker) m_worker->Join();
}

void CUnInstaller::SetAdminQueries(AdminQuery consoleUserIsAdmin, AdminQuery processIsAdmin) {
    m_consoleUserIsAdmin = std::move(consoleUserIsAdmin);
    m_processIsAdmin = std::move(processIsAdmin);
}

std::wstring CUnInstaller::BuildCommandLine() const {
    // A program path with blanks would be split apart, so only then is it quoted.
    const bool quote = m_uninstallerPath.find_first_of(L" \t") != std::wstring::npos;
    const std::wstring program = quote ? L"\"" + m_uninstallerPath + L"\"" : m_uninstallerPath;
    // The folder goes last and unquoted: the uninstaller takes the rest of the line.
    const bool consoleUserIsAdmin = m_consoleUserIsAdmin && m_consoleUserIsAdmin();
    const bool processIsAdmin = m_processIsAdmin && m_processIsAdmin();
    std::wstring cmd = program + L" /S -adminact=" + (consoleUserIsAdmin ? L"true" : L"false") +
                       L" -authorizationact=" + (processIsAdmin ? L"true" : L"false") +
                       L" -console=show _?=" + m_oldInstallFolder;
    // Never cut to the launcher's buffer: a cut folder would name another
    // folder. Too long a line fails to start and is reported as such.
    return cmd;
}

void CUnInstaller::Start() {
    m_commandLine = BuildCommandLine();
    // A runner is normally started once; a second start waits for the first run
    // rather than letting two workers share the child.
    if (m_worker) m_worker->Join();
    m_worker = std::make_unique<Utils::Thread>(this, L"UnInstaller",
                                               [](void* self) { static_cast<CUnInstaller*>(self)->Run(); });
    if (m_worker->IsValid()) m_worker->Resume();
}

void CUnInstaller::Send(int32_t code, double value, const wchar_t* text) const {
    if (m_callback) m_callback(code, value, text);
}

void CUnInstaller::Run() {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(Utils::ToNarrow(m_uninstallerPath, Utils::CP_UTF8), ec)) {
        Send(UNIST_CODE_FAIL, 1.0, L"可执行卸载文件不存在");
        return;
    }
    Send(UNIST_CODE_PROGRESS, 0.0);
    if (!m_child.Launch(m_commandLine)) {
        Send(UNIST_CODE_FAIL, 2.0);
        return;
    }
    // Reading goes on after a final line until the child ends, so later
    // progress still shows; only the first outcome is reported, as a run
    // ends with exactly one.
    bool finalSeen = false;
    const StatusCallback filtered = [this, &finalSeen](int32_t code, double value, const wchar_t* text) {
        const bool final = code == UNIST_CODE_SUCCESS || code == UNIST_CODE_ERROR;
        if (final && finalSeen) return;
        if (final) {
            finalSeen = true;
            // Progress after the outcome is still shown, but a child that
            // never ends must not keep this worker (and the next start) waiting.
            m_child.StopReadingAt(std::chrono::steady_clock::now() + m_exitGrace);
        }
        Send(code, value, text);
    };
    m_child.Follow([&](std::string_view lines) {
        return Install::DecodeLines(lines, m_protocol.codePage, [&](std::wstring_view line) {
            Install::ParseLine(Install::Dialect::Uninstaller, line, m_protocol, filtered);
            return false;
        });
    });
    m_child.Finish(m_exitGrace);
    if (!finalSeen) Send(UNIST_CODE_SUCCESS, 1.0);
}
