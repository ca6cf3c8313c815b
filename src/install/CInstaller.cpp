#include "install/CInstaller.h"

#include "install/InstallCodes.h"
#include "install/OutputDecoder.h"
#include "utils/Text.h"

namespace {

const wchar_t* Bool(bool value) { return value ? L"true" : L"false"; }

}  // namespace

CInstaller::CInstaller(StatusCallback callback, std::wstring packageArgument, std::wstring installFolder,
                       bool desktop, bool quickLaunch, bool adminAccount)
    : m_callback(std::move(callback)),
      m_packageArgument(std::move(packageArgument)),
      m_installFolder(std::move(installFolder)),
      m_quickLaunch(quickLaunch),
      m_desktop(desktop),
      m_adminAccount(adminAccount) {}

CInstaller::~CInstaller() {
    if (m_worker) m_worker->Join();
}

std::wstring CInstaller::BuildCommandLine() const {
    std::wstring cmd = m_packageArgument;
    cmd += L" /S -console=show -version=1.0.0";
    cmd += std::wstring(L" -adminact=") + Bool(m_adminAccount);
    cmd += std::wstring(L" -authorizationact=") + Bool(m_authorization);
    cmd += std::wstring(L" -dsc=") + Bool(m_desktop);
    cmd += std::wstring(L" -ssc=") + Bool(m_quickLaunch);
    if (!m_installLanguage.empty()) cmd += L" -inslang=\"" + m_installLanguage + L"\"";
    if (!m_instCmd.empty()) cmd += L" " + m_instCmd;
    if (!m_installFolder.empty()) {
        cmd += L" -instdir=\"" + m_installFolder + L"\"";
        // Last and unquoted: the package installer takes the rest of the line as the folder.
        cmd += L" /D=" + m_installFolder;
    }
    return cmd;
}

void CInstaller::Start() {
    m_commandLine = BuildCommandLine();
    if (m_worker) m_worker->Join();
    m_worker = std::make_unique<Utils::Thread>(this, L"ABDEF", [](void* self) { static_cast<CInstaller*>(self)->Run(); });
    if (m_worker->IsValid()) m_worker->Resume();
}

int32_t CInstaller::Parse(const std::wstring& text) {
    return Install::ParseBlock(Install::Dialect::Installer, text, m_protocol, m_callback);
}

void CInstaller::Send(int32_t code, double value) const {
    if (m_callback) m_callback(code, value, L"");
}

void CInstaller::Run() {
    Send(IST_CODE_START, 0.0);
    if (m_packageArgument.empty()) Send(IST_CODE_FAIL, 1.0);
    Send(IST_CODE_PROGRESS, 0.0);
    if (!m_child.Launch(m_commandLine)) {
        Send(IST_CODE_FAIL, 2.0);
        return;
    }
    // An "Encode=" line governs the very next line.
    const auto end = m_child.Follow([this](std::string_view lines) {
        return Install::DecodeLines(lines, m_protocol.codePage, [this](std::wstring_view line) {
            return Install::ParseLine(Install::Dialect::Installer, line, m_protocol, m_callback) != kParseContinue;
        });
    });
    m_child.Finish(m_exitGrace);
    // A child that ends without a final line counts as a successful installation.
    if (end == Install::ChildSession::End::ChildExited) Send(IST_CODE_SUCCESS, 1.0);
}
