#pragma once
// Chains the jobs of one installation: uninstall the previous version (when
// one is recorded), download the package, run the package installer. Every
// event of every job reaches the window's callback first, unchanged.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "download/DownloadOptions.h"
#include "download/Downloader.h"
#include "install/CInstaller.h"
#include "install/CUnInstaller.h"

// What the controller takes from the installer's settings and surroundings;
// the window fills it from the settings record, tests replace the parts they fake.
struct DownloadInstallerEnvironment {
    using DownloaderFactory =
        std::function<std::unique_ptr<CDownloader>(int32_t downloadType, StatusCallback callback,
                                                    const std::wstring& url, const std::wstring& path)>;

    int32_t downloadType = 1;
    bool insNew = false;
    std::wstring instCmd;
    DownloadOptions downloadOptions;   // handed to the downloader chosen by downloadType
    DownloaderFactory makeDownloader;  // empty: that choice
    std::function<uint32_t(const std::wstring& imageName)> findProcess;  // empty: FindProcessByName
    std::function<std::wstring()> tempFolder;                            // empty: Utils::GetTempFolder
    std::chrono::milliseconds exitGrace = CInstaller::kDefaultExitGrace;
};

class CDownloadInstaller final {
public:
    CDownloadInstaller(StatusCallback windowCallback, std::wstring downloadUrl, std::wstring previousUninstaller,
                       std::wstring installFolder, bool desktop, bool quickLaunch, bool adminAccount);
    ~CDownloadInstaller();
    CDownloadInstaller(const CDownloadInstaller&) = delete;
    CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

    void SetEnvironment(DownloadInstallerEnvironment environment);
    void Init(std::wstring downloadUrl, std::wstring existingInstallFolder, std::wstring previousUninstaller,
              std::wstring installFolder, bool desktop, bool quickLaunch, bool adminAccount, bool authorization,
              std::wstring installLanguage);
    // Runs the sequence on the jobs' worker threads and returns; only the wait
    // for a running product (InsNew) blocks the caller.
    void Start();
    std::wstring GetPackagePath() const;

    // Where the previous version's uninstaller is copied before it runs.
    std::wstring GetCopiedUninstallerPath() const;

private:
    void OnDownloadEvent(int32_t code, double value, const wchar_t* text);
    void OnUninstallEvent(int32_t code, double value, const wchar_t* text);
    void OnInstallEvent(int32_t code, double value, const wchar_t* text);
    void DeletePackages();
    void WaitForProductToEnd() const;
    std::unique_ptr<CDownloader> MakeDownloader();

    std::unique_ptr<CUnInstaller> m_uninstaller;
    std::unique_ptr<CDownloader> m_downloader;
    std::unique_ptr<CInstaller> m_installer;
    std::wstring m_downloadUrl;
    std::wstring m_previousUninstaller;
    std::wstring m_installFolder;
    std::wstring m_packagePath;
    std::wstring m_existingInstallFolder;
    std::wstring m_installLanguage;
    bool m_desktop = true;
    bool m_quickLaunch = true;
    bool m_adminAccount = true;
    bool m_authorization = true;
    StatusCallback m_windowCallback;
    DownloadInstallerEnvironment m_environment;
};
