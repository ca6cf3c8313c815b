// The main window's reaction to the controller's events: progress, failure
// prompts and the finished page.
#include "install/InstallCodes.h"
#include "install/Records.h"
#include "platform/FileSystem.h"
#include "toolkit/paint_manager.h"
#include "ui/CMainWnd.h"
#include "utils/Log.h"
#include "utils/Text.h"

using namespace toolkit;

namespace {

constexpr const wchar_t* kInitialProgressText = L"正在安装中:0%，请稍候...";
constexpr const wchar_t* kTipCaption = L"温馨提示";

bool IsFolder(const std::wstring& path)
{
    return !path.empty() && Platform::IsDirectory(Utils::ToNarrow(path, Utils::CP_UTF8));
}

}  // namespace

void CMainWnd::OnInstallerEvent(const InstallerEventRecord& record)
{
    switch (record.code) {
    case DL_CODE_START:
        if (!m_downloaderStartReported) {
            m_downloaderStartReported = true;
            ReportTask(L"下载器启动");
        }
        m_downloadStopwatch.Start();
        ReportTask(L"开始下载大包");
        break;
    case DL_CODE_PROGRESS: ShowProgress(m_progress.OnDownload(record.value)); break;
    case DL_CODE_SUCCESS: ReportTask(L"大包下载完毕", m_downloadStopwatch.Elapsed()); break;
    case DL_CODE_FAIL: OnDownloadFailed(record); break;
    case DL_CODE_MESSAGE:
        if (auto& report = MainWndReportPoints().reportFailureReason) report(record, true, {{L"AB", m_abValue}});
        break;
    case IST_CODE_START: WriteSetIni(); break;
    case IST_CODE_PROGRESS: ShowProgress(m_progress.OnInstall(record.value)); break;
    case IST_CODE_SUCCESS: OnInstallSucceeded(); break;
    case IST_CODE_FAIL: OnInstallFailed(record); break;
    case IST_INFO_INST_PATH: m_installDir = record.text; break;
    case IST_INFO_EXE_PATH: m_productExePath = record.text; break;
    case IST_INFO_UNINST_EP: m_uninstallerEpPath = record.text; break;
    case IST_INFO_START_URL: m_startUrl = record.text; break;
    case IST_INFO_STARTUP_STYLE: m_startupStyle = EventValueToInt32(record.value); break;
    case IST_INFO_TOP_SHOW_DETENTION: m_topShowDelay = EventValueToUint32(record.value); break;
    case IST_INFO_FINISH_CLOSE_DETENTION: m_finishCloseDelay = EventValueToUint32(record.value); break;
    case IST_INFO_MESSAGE: ShowBox(L"MessageBox1Wnd.xml", record.text.c_str(), L"消息"); break;
    case UNIST_CODE_FAIL:
    case UNIST_CODE_ERROR: OnUninstallFailed(); break;
    default: break;
    }
}

void CMainWnd::ShowProgress(int percent)
{
    const std::wstring pattern = m_progressLb ? m_progressLb->GetUserData() : std::wstring();
    const double seconds = m_downloadStopwatch.Elapsed();
    if (m_progressLb) m_progressLb->SetText(ProgressText(pattern, seconds, percent));
    if (m_installPrg) m_installPrg->SetValue(percent);
}

void CMainWnd::OnDownloadFailed(const InstallerEventRecord& record)
{
    if (auto& report = MainWndReportPoints().reportDownloadFailure)
        report(record, m_installController->GetPackagePath(), {{L"AB", m_abValue}});
    const int answer = ShowBox(L"NetworkTipWnd.xml", nullptr, nullptr);
    if (answer == 1 && m_hasInstalledCopy) Close(1);
    bool restarted = false;
    if (answer == 0) {
        // The retry goes back to the choices the user made where they began.
        if (m_startPage == 0)
            restarted = StartInstall(DefaultInstallDir(), true, true);
        else if (m_startPage == 1)
            restarted = StartInstall(GetCustomInstallDir(), IsChecked(m_createDSCb), IsChecked(m_createQSCb));
    }
    // A download that already runs again keeps its progress page: the choice
    // pages would let the user start a second installation over it or close
    // the window halfway.
    if (!restarted || CurrentPage() != 2) SelectMainPage(m_startPage);
}

void CMainWnd::OnInstallFailed(const InstallerEventRecord& record)
{
    if (auto& report = MainWndReportPoints().reportFailureReason) report(record, false, {{L"AB", m_abValue}});
    const std::wstring text = record.text.empty() ? L"安装失败" : record.text;
    ShowBox(L"MessageBox2Wnd.xml", text.c_str(), kTipCaption);
    if (m_installPrg && m_installPrg->GetValue() >= 70) {
        if (m_progressLb) m_progressLb->SetText(kInitialProgressText);
        m_installPrg->SetValue(0);
    }
    SelectMainPage(0);
}

void CMainWnd::OnUninstallFailed()
{
    ShowRunningProductBox();
    SelectMainPage(m_startPage);
    if (m_hasInstalledCopy) Close(1);
}

void CMainWnd::OnInstallSucceeded()
{
    ReportTask(L"安装成功");
    if (m_installPrg) {
        m_installPrg->SetValue(100);
        const std::wstring fill = L"res\\mainWnd\\installPrg3.png";
        std::wstring onDisk = PaintManager::GetResourcePath() + L"res/mainWnd/installPrg3.png";
        if (Platform::PathExists(Utils::ToNarrow(onDisk, Utils::CP_UTF8))) {
            m_installPrg->SetForeImage(fill);
            m_installPrg->Invalidate();
        }
    }
    if (m_softNameLbl) {
        m_softNameLbl->SetText(L"Lexivar");
        m_softNameLbl->SetVisible(true);
    }
    SelectMainPage(3);
    // A folder that does not exist was not installed into, whatever the
    // package installer said; recording it would send the next run there.
    if (IsFolder(m_installDir)) WriteInstallRegistry(m_installDir, m_uninstallerEpPath);
    WriteSetIni();
    LEXIVAR_LOG(L"CMainWnd::OnInstallSucceeded", L"FINISHED_PAGE %s\r\n", m_installDir.c_str());
    if (m_startupStyle == 1) RunProduct();
    PaintManager& m = GetPaintManager();
    if (!m_winCtn) return;
    if (m_topShowDelay != 0) m.SetTimer(m_winCtn, kTopShowTimer, m_topShowDelay);
    if (m_finishCloseDelay != 0) m.SetTimer(m_winCtn, kFinishCloseTimer, m_finishCloseDelay);
}

void CMainWnd::WriteSetIni()
{
    if (IsFolder(m_installDir)) ::WriteSetIni(m_installDir, m_env.appStore);
}
