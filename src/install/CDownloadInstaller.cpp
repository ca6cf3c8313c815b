#include "install/CDownloadInstaller.h"

#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>

#include "download/DownloaderFactory.h"
#include "install/InstallCodes.h"
#include "install/Records.h"
#include "utils/Files.h"
#include "utils/Log.h"
#include "utils/Text.h"

namespace {

namespace fs = std::filesystem;

// A package left by an earlier attempt of this process, deleted by the next
// completion or failure.
std::mutex g_lastPackageMutex;
std::wstring g_lastPackagePath;

fs::path NativePath(const std::wstring& path) { return fs::path(Utils::ToNarrow(path, Utils::CP_UTF8)); }

void DeleteQuietly(const std::wstring& path) {
    std::error_code ec;
    if (!path.empty()) fs::remove(NativePath(path), ec);
}

bool IsFile(const std::wstring& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(NativePath(path), ec);
}

// A downloaded file carries no permission to run; the package is a program.
void MakeRunnable(const std::wstring& path) {
    std::error_code ec;
    fs::permissions(NativePath(path), fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::add, ec);
}

std::wstring FolderPart(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'/');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

CDownloadInstaller::CDownloadInstaller(StatusCallback windowCallback, std::wstring downloadUrl,
                                       std::wstring previousUninstaller, std::wstring installFolder, bool desktop,
                                       bool quickLaunch, bool adminAccount)
    : m_downloadUrl(std::move(downloadUrl)),
      m_previousUninstaller(std::move(previousUninstaller)),
      m_installFolder(std::move(installFolder)),
      m_desktop(desktop),
      m_quickLaunch(quickLaunch),
      m_adminAccount(adminAccount),
      m_windowCallback(std::move(windowCallback)) {}

CDownloadInstaller::~CDownloadInstaller() {
    // Each job may start the next from its own thread: end them in the order they chain.
    m_uninstaller.reset();
    m_downloader.reset();
    m_installer.reset();
}

void CDownloadInstaller::SetEnvironment(DownloadInstallerEnvironment environment) {
    m_environment = std::move(environment);
}

void CDownloadInstaller::Init(std::wstring downloadUrl, std::wstring existingInstallFolder,
                              std::wstring previousUninstaller, std::wstring installFolder, bool desktop,
                              bool quickLaunch, bool adminAccount, bool authorization, std::wstring installLanguage) {
    m_downloadUrl = std::move(downloadUrl);
    m_existingInstallFolder = std::move(existingInstallFolder);
    m_previousUninstaller = std::move(previousUninstaller);
    m_installFolder = std::move(installFolder);
    m_desktop = desktop;
    m_quickLaunch = quickLaunch;
    m_adminAccount = adminAccount;
    m_authorization = authorization;
    m_installLanguage = std::move(installLanguage);
}

std::wstring CDownloadInstaller::GetPackagePath() const { return m_installFolder + L"/__Package_Lexivar.exe"; }

std::wstring CDownloadInstaller::GetCopiedUninstallerPath() const {
    std::wstring temp = m_environment.tempFolder ? m_environment.tempFolder() : Utils::GetTempFolder();
    if (temp.empty()) return {};
    if (temp.back() != L'/') temp += L'/';
    return temp + L"Lexivar_un_asa.exe";
}

std::unique_ptr<CDownloader> CDownloadInstaller::MakeDownloader() {
    StatusCallback forward = [this](int32_t code, double value, const wchar_t* text) { OnDownloadEvent(code, value, text); };
    if (m_environment.makeDownloader)
        return m_environment.makeDownloader(m_environment.downloadType, forward, m_downloadUrl, m_packagePath);
    return CreateDownloader(m_environment.downloadType, forward, m_downloadUrl, m_packagePath,
                            m_environment.downloadOptions);
}

void CDownloadInstaller::Start() {
    // A retry starts again while the worker may still be finishing the failed
    // run's clean-up with this path; it only changes with a new folder.
    if (std::wstring packagePath = GetPackagePath(); packagePath != m_packagePath) m_packagePath = std::move(packagePath);
    LEXIVAR_LOG(L"CDownloadInstaller::Start", L"DL_TYPE=%d\r\n", m_environment.downloadType);
    if (!m_downloader) m_downloader = MakeDownloader();
    if (!m_installer) {
        m_installer = std::make_unique<CInstaller>(
            [this](int32_t code, double value, const wchar_t* text) { OnInstallEvent(code, value, text); },
            L"\"" + m_packagePath + L"\"", m_installFolder, m_desktop, m_quickLaunch, m_adminAccount);
    }
    m_installer->SetInstallFolder(m_installFolder);
    m_installer->SetDesktop(m_desktop);
    m_installer->SetQuickLaunch(m_quickLaunch);
    m_installer->SetAdminAccount(m_adminAccount);
    m_installer->SetAuthorization(m_authorization);
    m_installer->SetInstallLanguage(m_installLanguage);
    m_installer->SetInstCmd(m_environment.instCmd);
    m_installer->SetExitGrace(m_environment.exitGrace);

    if (IsFile(m_previousUninstaller)) {
        const std::wstring copy = GetCopiedUninstallerPath();
        // Unlink first: an earlier copy may still be mapped by a running process.
        // A failed copy shows up as a missing program in the runner's report.
        std::error_code ec;
        fs::remove(NativePath(copy), ec);
        fs::copy_file(NativePath(m_previousUninstaller), NativePath(copy), fs::copy_options::overwrite_existing, ec);
        m_uninstaller = std::make_unique<CUnInstaller>(
            [this](int32_t code, double value, const wchar_t* text) { OnUninstallEvent(code, value, text); }, copy,
            FolderPart(m_previousUninstaller));
        m_uninstaller->SetExitGrace(m_environment.exitGrace);
        // The window checked both just before this start.
        const bool admin = m_adminAccount, authorization = m_authorization;
        m_uninstaller->SetAdminQueries([admin] { return admin; }, [authorization] { return authorization; });
        if (m_environment.insNew) WaitForProductToEnd();
        m_uninstaller->Start();
        return;
    }
    if (m_downloader) m_downloader->Start();
}

void CDownloadInstaller::WaitForProductToEnd() const {
    const auto find = m_environment.findProcess ? m_environment.findProcess : &FindProcessByName;
    while (find(L"lexivar.exe") != 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

void CDownloadInstaller::DeletePackages() {
    DeleteQuietly(m_packagePath);
    std::lock_guard<std::mutex> lock(g_lastPackageMutex);
    DeleteQuietly(g_lastPackagePath);
    g_lastPackagePath = m_packagePath;
}

void CDownloadInstaller::OnDownloadEvent(int32_t code, double value, const wchar_t* text) {
    if (m_windowCallback) m_windowCallback(code, value, text);
    switch (code) {
    case DL_CODE_START:
        LEXIVAR_LOG(L"CDownloadInstaller::OnDownloadEvent", L"DL_CODE_START\r\n");
        Utils::CreateDirectories(m_installFolder);
        break;
    case DL_CODE_PROGRESS:
        LEXIVAR_LOG(L"CDownloadInstaller::OnDownloadEvent", L"DL_CODE_PROGRESS\r\n");
        break;
    case DL_CODE_SUCCESS:
        LEXIVAR_LOG(L"CDownloadInstaller::OnDownloadEvent", L"DOWNLOAD_SUCCESS\r\n");
        MakeRunnable(m_packagePath);
        m_installer->Start();
        LEXIVAR_LOG(L"CDownloadInstaller::OnDownloadEvent", L"DL_CODE_SUCCESS\r\n");
        break;
    case DL_CODE_FAIL:
        LEXIVAR_LOG(L"CDownloadInstaller::OnDownloadEvent", L"DL_CODE_FAIL\r\n");
        DeletePackages();
        break;
    case DL_CODE_RETRY:
        LEXIVAR_LOG(L"CDownloadInstaller::OnDownloadEvent", L"DL_CODE_RETRY\r\n");
        m_downloader->Start();
        break;
    default:
        break;
    }
}

void CDownloadInstaller::OnUninstallEvent(int32_t code, double value, const wchar_t* text) {
    if (m_windowCallback) m_windowCallback(code, value, text);
    switch (code) {
    case UNIST_CODE_START:
        LEXIVAR_LOG(L"CDownloadInstaller::OnUninstallEvent", L"UNIST_CODE_START\r\n");
        break;
    case UNIST_CODE_PROGRESS:
        LEXIVAR_LOG(L"CDownloadInstaller::OnUninstallEvent", L"UNIST_CODE_PROGRESS\r\n");
        break;
    case UNIST_CODE_SUCCESS:
        LEXIVAR_LOG(L"CDownloadInstaller::OnUninstallEvent", L"UNIST_CODE_SUCCESS\r\n");
        if (m_installer && m_downloader) m_downloader->Start();
        break;
    case UNIST_CODE_FAIL:
        LEXIVAR_LOG(L"CDownloadInstaller::OnUninstallEvent", L"UNIST_CODE_FAIL\r\n");
        break;
    case UNIST_CODE_ERROR:
        LEXIVAR_LOG(L"CDownloadInstaller::OnUninstallEvent", L"UNIST_CODE_ERROR\r\n");
        break;
    default:
        break;
    }
}

void CDownloadInstaller::OnInstallEvent(int32_t code, double value, const wchar_t* text) {
    if (m_windowCallback) m_windowCallback(code, value, text);
    switch (code) {
    case IST_CODE_START:
        LEXIVAR_LOG(L"CDownloadInstaller::OnInstallEvent", L"IST_CODE_START\r\n");
        break;
    case IST_CODE_PROGRESS:
        LEXIVAR_LOG(L"CDownloadInstaller::OnInstallEvent", L"IST_CODE_PROGRESS %.3f\r\n", value);
        break;
    case IST_CODE_SUCCESS:
        LEXIVAR_LOG(L"CDownloadInstaller::OnInstallEvent", L"INSTALL_SUCCESS\r\n");
        DeletePackages();
        break;
    case IST_CODE_FAIL:
        LEXIVAR_LOG(L"CDownloadInstaller::OnInstallEvent", L"IST_CODE_FAIL\r\n");
        DeletePackages();
        break;
    default:
        break;
    }
}
