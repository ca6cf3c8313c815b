#include "ui/CMainWnd.h"

#include "install/InstallCodes.h"
#include "install/Records.h"
#include "platform/FileSystem.h"
#include "toolkit/language_texts.h"
#include "toolkit/message_loop.h"
#include "ui/CMessageBoxWnd.h"
#include "ui/MainWndSystem.h"
#include "ui/SkinLanguageHost.h"
#include "utils/Files.h"
#include "utils/Log.h"
#include "utils/System.h"
#include "utils/Text.h"

using namespace toolkit;

namespace {

constexpr const wchar_t* kRunningProductText = L"安装程序检测到Lexivar\r\n正在运行，请退出程序后再安装";
constexpr const wchar_t* kTipCaption = L"温馨提示";
constexpr const wchar_t* kProductName = L"Lexivar";
constexpr const wchar_t* kProductExe = L"lexivar.exe";
constexpr const wchar_t* kUninstallerCopyExe = L"Lexivar_un_asa.exe";
constexpr double kGiB = 1073741824.0;

template <class T>
T* Find(PaintManager& manager, const wchar_t* name, const wchar_t* cls)
{
    Control* c = manager.FindControl(name);
    return c ? static_cast<T*>(c->GetInterface(cls)) : nullptr;
}

void SetVisible(Control* c, bool visible)
{
    if (c) c->SetVisible(visible);
}

bool IsFile(const std::wstring& path)
{
    const std::string native = Utils::ToNarrow(path, Utils::CP_UTF8);
    return !path.empty() && Platform::PathExists(native) && !Platform::IsDirectory(native);
}

// The fixed width a label needs to show its text in its own font.
void FitWidth(PaintManager& manager, Label* label, int extra)
{
    if (!label) return;
    Size size = manager.MeasureText(label->GetText(), label->GetFont(), label->GetTextStyle());
    label->SetFixedWidth(size.cx + extra);
}

WindowDescriptor Descriptor(const wchar_t* layout, int resourceId)
{
    WindowDescriptor d = WindowDescriptor::ForLayout(layout);
    d.resourceId = resourceId;
    return d;
}

}  // namespace

CMainWnd::CMainWnd(const InstallerSettings& settings, MainWndEnvironment environment)
    : CSkinFrame(Descriptor(L"MainWnd.xml", environment.skinResourceId)),
      m_settings(settings),
      m_env(std::move(environment))
{
    FillSystemDefaults(m_env);
    SkinLanguageHost::Attach();
}

CMainWnd::~CMainWnd()
{
    // The workers report into this window: end them before anything else goes.
    m_folderBrowse.reset();
    if (m_netCheckThread) m_netCheckThread->Join();
    m_installController.reset();
}

// ---------------------------------------------------------------- start-up

void CMainWnd::OnWindowReady()
{
    CSkinFrame::OnWindowReady();
    SetStyle((GetStyle() & ~(ws::Caption | ws::MaximizeBox)) | ws::ClipSiblings | ws::ClipChildren);
    SetExStyle(GetExStyle() & ~ws::ExTopmost);
    SetIcon(145);
    FindControls();

    if (m_languageCombo) {
        m_languageCombo->SelectItem(m_settings.LanguageIndex, true);
        ApplyLanguage(m_settings.LanguageIndex);
    }
    PaintManager& m = GetPaintManager();
    for (Label* label : {m_softNameLbl, m_bTitleLbl[0], m_bTitleLbl[1], m_bTitleLbl[2]}) {
        if (!label) continue;
        label->SetText(kProductName);
        FitWidth(m, label, 0);
    }
    CreateController();

    const InstallRecords records = ReadInstallRecords();
    m_registeredInstallPath = records.registeredInstallPath;
    m_registeredUninstEp = records.registeredUninstEp;
    m_hasInstalledCopy = !m_registeredInstallPath.empty();
    if (m_installDirEdit) m_installDirEdit->SetText(DefaultInstallDir());
    CenterWindow();
    if (m_hasInstalledCopy) PromptForInstalledCopy();
}

void CMainWnd::FindControls()
{
    PaintManager& m = GetPaintManager();
    m_winCtn = Find<VerticalLayout>(m, L"winCtn", L"VerticalLayout");
    m_titleTabLt = Find<TabLayout>(m, L"titleTabLt", L"TabLayout");
    m_backBtn = Find<Button>(m, L"backBtn", L"Button");
    m_titleGrpCtn = Find<HorizontalLayout>(m, L"titleGrpCtn", L"HorizontalLayout");
    m_mainTabLt = Find<TabLayout>(m, L"mainTabLt", L"TabLayout");
    m_defaultInstallBtn = Find<Button>(m, L"defaultInstallBtn", L"Button");
    m_customeBtn = Find<Button>(m, L"customeBtn", L"Button");
    m_tipLbl = Find<Label>(m, L"tipLbl", L"Label");
    m_treatyCb = Find<CheckBox>(m, L"treatyCb", L"CheckBox");
    m_treatyBtn = Find<CheckBox>(m, L"treatyBtn", L"CheckBox");
    m_installDirEdit = Find<Edit>(m, L"installDirEdit", L"Edit");
    m_createDSCb = Find<CheckBox>(m, L"createDSCb", L"CheckBox");
    m_createQSCb = Find<CheckBox>(m, L"createQSCb", L"CheckBox");
    m_customeInstallBtn = Find<Button>(m, L"customeInstallBtn", L"Button");
    m_progressAnLb = Find<CSequenceLabelUI>(m, L"progressAnLb", L"SequenceLabel");
    m_progressLb = Find<Label>(m, L"progressLb", L"Label");
    m_installPrg = Find<Progress>(m, L"installPrg", L"Progress");
    m_openProduceBtn = Find<Button>(m, L"openProduceBtn", L"Button");
    m_serviceCb = Find<CheckBox>(m, L"serviceCb", L"CheckBox");
    m_softNameLbl = Find<Label>(m, L"softNameLbl", L"Label");
    m_bTitleLbl[0] = Find<Label>(m, L"bTitleLbl1", L"Label");
    m_bTitleLbl[1] = Find<Label>(m, L"bTitleLbl2", L"Label");
    m_bTitleLbl[2] = Find<Label>(m, L"bTitleLbl3", L"Label");
    m_installLogo = m.FindControl(L"installLogo");
    m_finishedLbl = Find<CSequenceLabelUI>(m, L"finishedLbl", L"SequenceLabel");
    m_languageCombo = Find<Combo>(m, L"languageCombo", L"Combo");
}

void CMainWnd::CreateController()
{
    const WindowHandle self = GetHWND();
    std::shared_ptr<InstallerEventMailbox> mailbox = m_mailbox;
    // Runs on the jobs' threads: it only hands the event over to the window thread.
    StatusCallback callback = [self, mailbox](int32_t code, double value, const wchar_t* text) {
        mailbox->Post(self, code, value, text);
    };
    m_installController = std::make_unique<CDownloadInstaller>(callback, L"", L"", L"", true, true, true);
    DownloadInstallerEnvironment environment;
    environment.downloadType = m_settings.DownloadType;
    environment.insNew = m_settings.InsNew;
    environment.instCmd = m_settings.InstCmd;
    environment.downloadOptions.curlUsable = m_settings.CurlUsable;
    if (m_env.adjustController) m_env.adjustController(environment);
    m_installController->SetEnvironment(std::move(environment));
}

void CMainWnd::PromptForInstalledCopy()
{
    const int index = Utils::LoadLanguageFromConfig(m_registeredInstallPath, this);
    if (m_languageCombo) m_languageCombo->SelectItem(index, true);
    if (m_settings.InsNew) {
        StartInstall(m_registeredInstallPath, true, true);
        return;
    }
    if (IsRunning(kProductExe)) {
        ShowRunningProductBox();
        Close(1);
        return;
    }
    switch (ShowBox(L"InstalledPathTipWnd.xml", nullptr, nullptr)) {
    case 0: StartInstall(m_registeredInstallPath, true, true); break;
    case 1:
        m_productExePath = m_registeredInstallPath + L"/" + kProductExe;
        m_env.startProgram(m_productExePath, m_registeredInstallPath);
        Close(1);
        break;
    default: Close(1); break;
    }
}

std::wstring CMainWnd::DefaultInstallDir()
{
    m_consoleUserIsAdmin = m_env.consoleUserIsAdmin();
    m_processIsAdmin = m_env.processIsAdmin();
    if (m_env.defaultInstallDir) return m_env.defaultInstallDir();
    return GetDefaultInstallDir({m_registeredInstallPath, m_registeredUninstEp}, m_consoleUserIsAdmin,
                                m_processIsAdmin);
}

std::unique_ptr<Control> CMainWnd::CreateControl(std::wstring_view className)
{
    return CreateSequenceControl(className);
}

// ---------------------------------------------------------------- notifications

void CMainWnd::Notify(Notification& msg)
{
    if (msg.type == L"tabselect")
        OnTabSelect();
    else if (msg.type == L"selectchanged")
        OnSelectChanged(msg.sender);
    else if (msg.type == L"timer")
        OnTimer(msg);
    else if (msg.type == L"checknet")
        OnCheckNet(msg.wParam);
    else if (msg.type == L"install")
        BeginInstall(msg.wParam != 0);
    else if (msg.type == L"folderchosen")
        OnFolderChosen();
    else if (msg.type == L"itemselect" && msg.sender && msg.sender == m_languageCombo)
        ApplyLanguage(m_languageCombo->GetCurSel());
    CSkinFrame::Notify(msg);
}

void CMainWnd::OnTabSelect()
{
    static const wchar_t* const kBackgrounds[] = {L"res\\mainWnd\\bg1.png", L"res\\mainWnd\\bg2.png",
                                                  L"res\\mainWnd\\bg3.png", L"res\\mainWnd\\bg4.png"};
    const int page = CurrentPage();
    if (page < 0 || page > 3) return;
    if (m_winCtn) m_winCtn->SetBkImage(kBackgrounds[page]);
    const bool installing = page == 2;
    if (m_titleTabLt && page != 2) m_titleTabLt->SelectItem(page == 3 ? 2 : 1, true);
    SetVisible(m_titleGrpCtn, !installing);
    SetVisible(m_installLogo, installing);
    SetVisible(m_backBtn, page == 1);
    if (page == 2 && m_progressAnLb) m_progressAnLb->Start();
    if (page == 3) {
        if (m_progressAnLb) m_progressAnLb->Stop();
        if (m_finishedLbl) m_finishedLbl->Start();
    }
    if (m_winCtn) m_winCtn->Invalidate();
}

void CMainWnd::OnSelectChanged(Control* sender)
{
    if (!sender) return;
    const std::wstring& name = sender->GetName();
    if (name == L"treatyCb") {
        const bool a = IsChecked(m_treatyCb);
        const bool b = m_serviceCb ? m_serviceCb->GetCheck() : true;
        if (m_treatyBtn) m_treatyBtn->Selected(a, true);
        if (m_customeBtn) m_customeBtn->SetEnabled(a && b);
        if (a && b) SetVisible(m_tipLbl, false);
    } else if (name == L"serviceCb") {
        const bool selected = IsChecked(m_serviceCb);
        if (m_customeBtn) m_customeBtn->SetEnabled(selected && IsChecked(m_treatyCb));
        if (m_defaultInstallBtn) m_defaultInstallBtn->SetEnabled(selected);
    } else if (name == L"treatyBtn") {
        // Clicking the agreement link never changes its own tick.
        if (m_treatyBtn) m_treatyBtn->Selected(IsChecked(m_treatyCb), true);
    }
}

void CMainWnd::OnTimer(const Notification& msg)
{
    if (!msg.sender || msg.sender != m_winCtn) return;
    PaintManager& m = GetPaintManager();
    if (msg.wParam == kTopShowTimer) {
        SetForeground();
        m.KillTimer(m_winCtn, kTopShowTimer);
    } else if (msg.wParam == kFinishCloseTimer) {
        Close(1);
        m.KillTimer(m_winCtn, kFinishCloseTimer);
    }
}

void CMainWnd::OnClick(Notification& msg)
{
    const std::wstring name = msg.sender ? msg.sender->GetName() : L"";
    if (name == L"defaultInstallBtn") {
        ReportClick(L"立即安装");
        if (IsChecked(m_treatyCb))
            StartInstall(DefaultInstallDir(), true, true);
        else
            SetVisible(m_tipLbl, true);
    } else if (name == L"customeBtn") {
        ReportClick(L"自定义安装");
        SelectMainPage(1);
        if (m_customeInstallBtn) m_customeInstallBtn->SetFocus();
    } else if (name == L"customeInstallBtn") {
        ReportClick(L"自定义安装_立即安装");
        StartInstall(GetCustomInstallDir(), IsChecked(m_createDSCb), IsChecked(m_createQSCb));
    } else if (name == L"backBtn") {
        SelectMainPage(0);
    } else if (name == L"chDirBtn") {
        StartFolderBrowse();
    } else if (name == L"treatyBtn") {
        // The agreement has no address of its own; there is nothing to open.
    } else if (name == L"openProduceBtn") {
        ReportClick(L"立即体验");
        if (m_startupStyle == 2) RunProduct();
        Close(1);
    } else if (name == L"closebtn") {
        OnCloseButton();
    } else {
        CSkinFrame::OnClick(msg);
    }
}

void CMainWnd::OnCloseButton()
{
    if (CurrentPage() == 3) {
        Close(1);
        return;
    }
    if (ShowBox(L"ExitTipWnd.xml", nullptr, nullptr) == 0) Close(1);
}

void CMainWnd::StartFolderBrowse()
{
    if (m_folderBrowse) return;  // one dialog at a time; the open one keeps the question
    PaintManager* manager = &GetPaintManager();
    Control* root = manager->GetRoot();
    m_folderBrowse = std::make_unique<FolderBrowse>(m_env.browseFolder, L"选择一个文件夹", [manager, root] {
        manager->SendNotify(root, L"folderchosen", 0, 0, true);
    });
}

void CMainWnd::OnFolderChosen()
{
    if (!m_folderBrowse) return;
    const std::optional<std::wstring> folder = m_folderBrowse->TakeAnswer();
    m_folderBrowse.reset();
    if (folder && m_installDirEdit) m_installDirEdit->SetText(*folder);
}

intptr_t CMainWnd::OnMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    // The installation cannot be abandoned halfway: its page has no way out.
    if (id == wm::Close && CurrentPage() == 2) {
        handled = true;
        return 0;
    }
    if (id == kDownloaderStartedMessage && !m_downloaderStartReported) {
        m_downloaderStartReported = true;
        ReportTask(L"下载器启动");
    }
    return CSkinFrame::OnMessage(id, wParam, lParam, handled);
}

intptr_t CMainWnd::OnCustomMessage(uint32_t id, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    if (id == wm::Timer) {
        handled = true;
        return OnTimerMessage(wParam, lParam);
    }
    if (id != kInstallerEventMessage) return CSkinFrame::OnCustomMessage(id, wParam, lParam, handled);
    handled = true;
    // Taking the record back makes this handler its owner; it is freed on
    // return whatever the code was.
    if (std::unique_ptr<InstallerEventRecord> record = m_mailbox->Take(lParam)) OnInstallerEvent(*record);
    return 0;
}

intptr_t CMainWnd::OnTimerMessage(uintptr_t /*wParam*/, intptr_t /*lParam*/) { return 0; }

// ---------------------------------------------------------------- installing

bool CMainWnd::StartInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch)
{
    // An update forced from the command line skips both lookups: each one walks
    // every process on the machine.
    if (!m_settings.InsNew && IsRunning(kUninstallerCopyExe)) {
        ShowRunningProductBox();
        if (m_hasInstalledCopy) Close(1);
        return false;
    }
    if (!m_settings.InsNew && IsRunning(kProductExe)) {
        ShowRunningProductBox();
        Close(1);
        return false;
    }
    if (m_customeInstallBtn) m_customeInstallBtn->SetEnabled(false);
    if (!Utils::CreateDirectories(folder)) {
        ShowBox(L"MessageBox2Wnd.xml", L"无效路径", kTipCaption);
        SendInstall(false);
        return false;
    }
    if (static_cast<double>(m_env.freeBytes(folder)) / kGiB < 1.0) {
        const std::wstring text = FindLanguageText(L"104").value_or(L"");
        ShowBox(L"MessageBox2Wnd.xml", text.c_str(), kTipCaption);
        SendInstall(false);
        return false;
    }
    m_installDir = folder;
    const std::wstring previous =
        KeepsPreviousVersion(m_registeredInstallPath, folder) ? std::wstring() : m_registeredUninstEp;
    m_installController->Init(m_settings.DownloadUrl, m_registeredInstallPath, previous, folder, desktopShortcut,
                              quickLaunch, m_consoleUserIsAdmin, m_processIsAdmin, GetInstallLocale());
    if (m_settings.IsCheckNet)
        StartNetworkCheck();
    else
        SendInstall(true);
    return true;
}

void CMainWnd::StartNetworkCheck()
{
    if (m_netCheckThread) {
        m_netCheckThread->Join();
        m_netCheckThread.reset();
    }
    PaintManager* manager = &GetPaintManager();
    Control* root = manager->GetRoot();
    auto check = m_env.checkNetwork;
    // The worker only queues a notification; the window thread acts on it.
    m_netCheckThread = std::make_unique<Utils::Thread>(nullptr, L"ABDEF", [manager, root, check](void*) {
        const uint32_t result = check();
        manager->SendNotify(root, L"checknet", result, 0, true);
    });
    if (m_netCheckThread->IsValid()) m_netCheckThread->Resume();
}

void CMainWnd::OnCheckNet(uintptr_t result)
{
    const bool bad = ((result >> 16) & 0xFFFF) != 0;
    if (bad) ShowBox(L"MessageBox2Wnd.xml", L"当前网络环境较差，请在网络通畅时进行安装", kTipCaption);
    SendInstall(!bad);
}

void CMainWnd::SendInstall(bool proceed)
{
    PaintManager& m = GetPaintManager();
    m.SendNotify(m.GetRoot(), L"install", proceed ? 1 : 0, 0);
}

void CMainWnd::BeginInstall(bool proceed)
{
    if (proceed) {
        const int page = CurrentPage();
        if (page == 0 || page == 1) m_startPage = page;
        SelectMainPage(2);
        if (auto& report = MainWndReportPoints().reportInstallingView) report({{L"AB", m_abValue}});
        m_installController->Start();
    }
    if (m_customeInstallBtn) m_customeInstallBtn->SetEnabled(true);
}

std::wstring CMainWnd::GetCustomInstallDir()
{
    const std::wstring defaultDir = DefaultInstallDir();
    const std::wstring typed = m_installDirEdit ? m_installDirEdit->GetText() : std::wstring();
    if (IsDefaultInstallDir(typed, defaultDir)) return defaultDir;
    // A folder the user chose gets a folder of the product's own inside it.
    std::wstring result = typed;
    if (!result.empty() && result.back() != L'/') result += L'/';
    result += kProductName;
    if (result.size() > Utils::kMaxPathChars) result.resize(Utils::kMaxPathChars);
    return result;
}

std::wstring CMainWnd::GetInstallLocale() const
{
    if (!m_languageCombo) return L"";
    const auto& table = Utils::LocaleTable();
    auto it = table.find(m_languageCombo->GetCurSel());
    return it == table.end() ? L"" : Utils::ToWide(it->second, Utils::CP_UTF8);
}

void CMainWnd::ApplyLanguage(int index)
{
    Utils::LoadLanguage(index, L"");
    RefreshLanguageLayout();
    PaintManager& m = GetPaintManager();
    for (const wchar_t* name : {L"lbLanguage", L"lbInstallPath", L"backBtn"}) {
        auto* label = Find<Label>(m, name, L"Label");
        if (label) FitWidth(m, label, label->GetTextPadding().left);
    }
}

void CMainWnd::RefreshLanguageLayout()
{
    if (Control* root = GetPaintManager().GetRoot()) root->NeedParentUpdate();
}

void CMainWnd::RunProduct()
{
    if (m_startUrl.size() > 5) m_env.openUrl(m_startUrl);
    if (IsFile(m_productExePath)) {
        // Let the finished page paint before the product's window covers it.
        Utils::PumpMessages(static_cast<Window*>(this));
        m_env.startProgram(m_productExePath, L"");
    }
}

// ---------------------------------------------------------------- helpers

void CMainWnd::SelectMainPage(int page)
{
    if (m_mainTabLt) m_mainTabLt->SelectItem(page, true);
}

int CMainWnd::ShowBox(const wchar_t* layout, const wchar_t* text, const wchar_t* caption)
{
    return CMessageBoxWnd::ShowModalBox(Descriptor(layout, m_env.skinResourceId), GetHWND(), text, caption);
}

void CMainWnd::ShowRunningProductBox() { ShowBox(L"MessageBox1Wnd.xml", kRunningProductText, kTipCaption); }

bool CMainWnd::IsRunning(const wchar_t* imageName) const { return m_env.findProcess(imageName) != 0; }

void CMainWnd::ReportTask(const wchar_t* name, float elapsed)
{
    if (auto& report = MainWndReportPoints().reportTaskEvent) report(name, {{L"AB", m_abValue}}, L"", elapsed);
}

void CMainWnd::ReportClick(const wchar_t* name)
{
    if (auto& report = MainWndReportPoints().reportClickEvent) report({{L"AB", m_abValue}}, name);
}
