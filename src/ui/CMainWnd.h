#pragma once
// The installer's main window: four pages (default install, custom install,
// progress, finished), the checks before an installation, and the display of
// the controller's events.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/InstallerSettings.h"
#include "install/CDownloadInstaller.h"
#include "toolkit/button.h"
#include "toolkit/combo.h"
#include "toolkit/container.h"
#include "toolkit/edit.h"
#include "toolkit/label.h"
#include "toolkit/option.h"
#include "toolkit/progress.h"
#include "ui/CSkinFrame.h"
#include "ui/FolderBrowse.h"
#include "ui/InstallProgress.h"
#include "ui/InstallerEvent.h"
#include "ui/MainWndReports.h"
#include "ui/sequence_controls.h"
#include "utils/Language.h"
#include "utils/Stopwatch.h"
#include "utils/Thread.h"

// What the window asks of the system; tests replace the parts they fake.
struct MainWndEnvironment {
    std::function<uint32_t(const std::wstring& imageName)> findProcess;  // process id or 0
    std::function<uint64_t(const std::wstring& folder)> freeBytes;       // 0 when unknown
    std::function<uint32_t()> checkNetwork;
    std::function<bool()> consoleUserIsAdmin;
    std::function<bool()> processIsAdmin;
    std::function<void(const std::wstring& url)> openUrl;
    std::function<void(const std::wstring& program, const std::wstring& folder)> startProgram;
    FolderBrowse::Browser browseFolder;  // the chosen folder, or nothing
    std::function<std::wstring()> defaultInstallDir;            // empty: from the records and the rights
    std::function<void(DownloadInstallerEnvironment&)> adjustController;
    std::wstring appStore;  // file name of the running installer, for set.ini
    int skinResourceId = 147;
};

class CMainWnd final : public CSkinFrame, public Utils::LanguageView {
public:
    static constexpr unsigned kTopShowTimer = 10;
    static constexpr unsigned kFinishCloseTimer = 11;
    // Sent by another process to say its downloader started.
    static constexpr uint32_t kDownloaderStartedMessage = toolkit::wm::User + 200;

    explicit CMainWnd(const InstallerSettings& settings = InstallerSettings::Instance(),
                      MainWndEnvironment environment = {});
    ~CMainWnd() override;

    bool StartInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch);
    void BeginInstall(bool proceed);
    void OnInstallerEvent(const InstallerEventRecord& record);
    std::wstring GetCustomInstallDir();
    std::wstring GetInstallLocale() const;
    void ApplyLanguage(int index);
    void RunProduct();
    void RefreshLanguageLayout() override;

    void Notify(toolkit::Notification& msg) override;

    // Read by tests and the demo.
    const std::wstring& GetInstallDir() const { return m_installDir; }
    int GetStartPage() const { return m_startPage; }
    uint32_t GetFinishCloseDelay() const { return m_finishCloseDelay; }
    CDownloadInstaller* GetController() const { return m_installController.get(); }

protected:
    void OnWindowReady() override;
    void OnClick(toolkit::Notification& msg) override;
    intptr_t OnMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, bool& handled) override;
    intptr_t OnCustomMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, bool& handled) override;
    std::unique_ptr<toolkit::Control> CreateControl(std::wstring_view className) override;
    intptr_t OnTimerMessage(uintptr_t wParam, intptr_t lParam);

private:
    void FindControls();
    void CreateController();
    void PromptForInstalledCopy();
    void OnTabSelect();
    void OnSelectChanged(toolkit::Control* sender);
    void OnTimer(const toolkit::Notification& msg);
    void OnCheckNet(uintptr_t result);
    void OnCloseButton();
    void StartFolderBrowse();
    void OnFolderChosen();
    void StartNetworkCheck();
    void SendInstall(bool proceed);
    void SelectMainPage(int page);
    void ShowProgress(int percent);
    void OnDownloadFailed(const InstallerEventRecord& record);
    void OnInstallFailed(const InstallerEventRecord& record);
    void OnInstallSucceeded();
    void OnUninstallFailed();
    void WriteSetIni();
    std::wstring DefaultInstallDir();
    int ShowBox(const wchar_t* layout, const wchar_t* text, const wchar_t* caption);
    void ShowRunningProductBox();
    bool IsRunning(const wchar_t* imageName) const;
    void ReportTask(const wchar_t* name, float elapsed = 0.0f);
    void ReportClick(const wchar_t* name);
    bool IsChecked(toolkit::CheckBox* box) const { return box && box->GetCheck(); }
    int CurrentPage() const { return m_mainTabLt ? m_mainTabLt->GetCurSel() : -1; }

    const InstallerSettings& m_settings;
    MainWndEnvironment m_env;

    toolkit::VerticalLayout* m_winCtn = nullptr;
    toolkit::TabLayout* m_titleTabLt = nullptr;
    toolkit::Button* m_backBtn = nullptr;
    toolkit::HorizontalLayout* m_titleGrpCtn = nullptr;
    toolkit::TabLayout* m_mainTabLt = nullptr;
    toolkit::Button* m_defaultInstallBtn = nullptr;
    toolkit::Button* m_customeBtn = nullptr;
    toolkit::Label* m_tipLbl = nullptr;
    toolkit::CheckBox* m_treatyCb = nullptr;
    toolkit::CheckBox* m_treatyBtn = nullptr;
    toolkit::Edit* m_installDirEdit = nullptr;
    toolkit::CheckBox* m_createDSCb = nullptr;
    toolkit::CheckBox* m_createQSCb = nullptr;
    toolkit::Button* m_customeInstallBtn = nullptr;
    CSequenceLabelUI* m_progressAnLb = nullptr;
    toolkit::Label* m_progressLb = nullptr;
    toolkit::Progress* m_installPrg = nullptr;
    toolkit::Button* m_openProduceBtn = nullptr;
    // Optional: the shipped layout has none of these.
    toolkit::CheckBox* m_serviceCb = nullptr;
    toolkit::Label* m_softNameLbl = nullptr;
    toolkit::Label* m_bTitleLbl[3] = {};
    toolkit::Control* m_installLogo = nullptr;
    CSequenceLabelUI* m_finishedLbl = nullptr;
    toolkit::Combo* m_languageCombo = nullptr;

    std::wstring m_productExePath;
    std::wstring m_uninstallerEpPath;
    std::wstring m_installDir;
    std::wstring m_registeredUninstEp;
    std::wstring m_registeredInstallPath;
    std::wstring m_startUrl;
    int32_t m_startupStyle = 0;
    uint32_t m_topShowDelay = 3000;
    uint32_t m_finishCloseDelay = 0xFFFFFFFFu;
    std::unique_ptr<CDownloadInstaller> m_installController;
    Utils::Stopwatch m_downloadStopwatch;
    std::unique_ptr<Utils::Thread> m_netCheckThread;
    std::unique_ptr<FolderBrowse> m_folderBrowse;  // while a folder dialog is open
    int m_startPage = 0;
    InstallProgress m_progress;
    bool m_hasInstalledCopy = false;
    bool m_consoleUserIsAdmin = false;
    bool m_processIsAdmin = false;
    std::wstring m_abValue = L"IN";
    bool m_downloaderStartReported = false;
    std::shared_ptr<InstallerEventMailbox> m_mailbox = std::make_shared<InstallerEventMailbox>();
};
