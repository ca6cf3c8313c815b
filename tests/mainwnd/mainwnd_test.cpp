// The main window in-process on the off-screen backend: pages, checks,
// prompts and the controller's events.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>

#include "common/nginx_server.h"
#include "install/InstallCodes.h"
#include "mainwnd/mainwnd_fixture.h"
#include "platform/PrivateProfile.h"
#include "toolkit/edit.h"
#include "toolkit/language_texts.h"
#include "utils/Registry.h"
#include "utils/ScopedEnv.h"

using namespace mainwnd_test;
using lexivar::test::ReadFile;
using lexivar::test::ScratchDir;
using lexivar::test::WriteFile;

namespace {

// A downloader that only counts its starts; the test sends the events.
class IdleDownloader final : public CDownloader {
public:
    explicit IdleDownloader(std::atomic<int>& starts) : m_starts(starts) {}
    void Start() override { ++m_starts; }

private:
    std::atomic<int>& m_starts;
};

std::wstring RegValue(const wchar_t* name)
{
    uint32_t type = 0;
    std::wstring text;
    return Utils::ReadRegString(name, type, text) ? text : L"<none>";
}

std::string Ini(const fs::path& file, const char* section, const char* key)
{
    return Platform::GetPrivateProfileStringA(section, key, "<none>", 260, file.string());
}

class MainWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(kHome / "config");
        fs::remove_all(kHome / "data");
        toolkit::ClearLanguageTexts();
        m_settings.DownloadUrl = L"http://127.0.0.1:9/software/364";
        m_env.findProcess = [this](const std::wstring& name) -> uint32_t {
            std::lock_guard lock(m_mutex);
            return name == m_running ? 4242 : 0;
        };
        m_env.startProgram = [this](const std::wstring& program, const std::wstring&) {
            std::lock_guard lock(m_mutex);
            m_started.push_back(program);
        };
        m_env.openUrl = [](const std::wstring&) {};
        m_env.appStore = L"lexivar-setup";
        // The rights of the test's user would pick a system folder.
        m_env.defaultInstallDir = [] { return W(kHome / "opt" / "Lexivar"); };
    }

    // Keeps the real jobs from reaching the network: the download is the test's.
    void UseIdleDownloader()
    {
        m_env.adjustController = [this](DownloadInstallerEnvironment& e) {
            e.makeDownloader = [this](int32_t, StatusCallback, const std::wstring&, const std::wstring&) {
                return std::make_unique<IdleDownloader>(m_downloadStarts);
            };
        };
    }

    // An earlier installation recorded in the registry store.
    fs::path RecordInstalledCopy()
    {
        fs::path folder = ScratchDir("mainwnd-installed");
        Utils::WriteRegString(L"InstallPath", W(folder));
        return folder;
    }

    // Runs the window modally while the driver's steps act on it.
    void Run(CMainWnd& wnd)
    {
        wnd.Create(0, L"Lexivar", toolkit::ws::Visible | toolkit::ws::OverlappedWindow, 0);
        wnd.ShowModal();
    }

    InstallerSettings m_settings;
    MainWndEnvironment m_env;
    std::mutex m_mutex;
    std::wstring m_running;
    std::vector<std::wstring> m_started;
    std::atomic<int> m_downloadStarts{0};
};

}  // namespace

TEST_F(MainWndTest, FreshInstallRunsEndToEndInOneClick)
{
    const fs::path www = fs::path(LEXIVAR_BUILD_DIR) / "package" / "www";
    std::string md5 = ReadFile(fs::path(LEXIVAR_BUILD_DIR) / "package" / "package.md5");
    md5.resize(32);
    const std::string packagePath = "/download_silent/" + md5 + "/LexivarSetup.exe";
    lexivar::test::NginxServer nginx({www, ScratchDir("mainwnd-nginx"), {{lexivar::test::kPackageRoute, packagePath}}});
    m_settings.DownloadUrl = Utils::ToWide(nginx.Url(lexivar::test::kPackageRoute), Utils::CP_UTF8);

    CMainWnd wnd(m_settings, m_env);
    std::vector<int> bars;
    Driver driver;
    driver.Then([&] { Click(wnd, L"defaultInstallBtn"); })
        .When([&] { return Page(wnd) != 0; }, [&] { EXPECT_EQ(Page(wnd), 2); })
        .When([&] {
            bars.push_back(Bar(wnd));
            return Page(wnd) == 3;
        }, [&] { Click(wnd, L"openProduceBtn"); });
    Run(wnd);
    EXPECT_TRUE(driver.Done());

    const fs::path folder = kHome / "opt" / "Lexivar";
    EXPECT_EQ(wnd.GetInstallDir(), W(folder));
    EXPECT_TRUE(std::is_sorted(bars.begin(), bars.end())) << "the bar went back";
    EXPECT_EQ(RegValue(L"InstallPath"), W(folder));
    EXPECT_EQ(RegValue(L"UnInstallEp"), W(folder / "uninst.ep"));
    EXPECT_EQ(Ini(folder / "set.ini", "Install", "AppName"), "Lexivar");
    EXPECT_EQ(Ini(folder / "set.ini", "Install", "APPStore"), "lexivar-setup");
    EXPECT_EQ(Ini(folder / "set.ini", "Install", "DeviceID").size(), 32u);
    const fs::path analytics = kHome / "data" / "ZeRinData" / "Lexivar" / "ZRAnalytics.ini";
    EXPECT_EQ(Ini(folder / "set.ini", "Install", "ZRAnalyticsIni"), analytics.string());
    EXPECT_NE(Ini(analytics, "Init", "UpdateTime"), "<none>");
    EXPECT_FALSE(fs::exists(folder / "__Package_Lexivar.exe"));
    EXPECT_TRUE(fs::exists(folder / "lexivar.exe"));
    // The package asks for the product to start when the user says so.
    ASSERT_EQ(m_started.size(), 1u);
    EXPECT_EQ(m_started[0], W(folder / "lexivar.exe"));
}

TEST_F(MainWndTest, CustomFolderGetsAProductFolderOfItsOwn)
{
    CMainWnd wnd(m_settings, m_env);
    wnd.Create(0, L"Lexivar", toolkit::ws::OverlappedWindow, 0);
    auto* edit = static_cast<toolkit::Edit*>(Control(wnd, L"installDirEdit")->GetInterface(L"Edit"));
    const std::wstring defaultDir = edit->GetText();
    struct Case {
        std::wstring typed, expected;
    };
    const Case cases[] = {
        {defaultDir, defaultDir},
        {defaultDir + L"/", defaultDir},
        {L"/tmp/x y/Apps", L"/tmp/x y/Apps/Lexivar"},
        {L"/tmp/x y/Apps/", L"/tmp/x y/Apps/Lexivar"},
    };
    for (const Case& c : cases) {
        edit->SetText(c.typed);
        EXPECT_EQ(wnd.GetCustomInstallDir(), c.expected) << toolkit::ToUtf8(c.typed);
    }
}

TEST_F(MainWndTest, RefusedFoldersShowTheirPromptAndStayOnThePage)
{
    const fs::path blocker = ScratchDir("mainwnd-blocked") / "file";
    WriteFile(blocker, "not a folder");
    struct Case {
        const char* what;
        std::wstring folder;
        uint64_t freeBytes;
        bool languageLoaded;  // a language registered text 104
        std::wstring expectedText;
    };
    const Case cases[] = {
        {"uncreatable folder", W(blocker), 1ull << 40, false, L"无效路径"},
        {"too little space", W(ScratchDir("mainwnd-small")), (1ull << 30) - 1, false, L""},
        {"too little space, with texts", W(ScratchDir("mainwnd-small2")), 0, true, L"磁碟空間不足"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        toolkit::ClearLanguageTexts();
        if (c.languageLoaded) toolkit::SetLanguageText(L"104", L"磁碟空間不足");
        m_env.freeBytes = [&c](const std::wstring&) { return c.freeBytes; };
        CMainWnd wnd(m_settings, m_env);
        std::wstring shown = L"<no box>";
        Driver driver;
        driver.Then([&] { Click(wnd, L"customeBtn"); })
            .When([&] { return Page(wnd) == 1; },
                  [&] {
                      static_cast<toolkit::Edit*>(Control(wnd, L"installDirEdit")->GetInterface(L"Edit"))
                          ->SetText(c.folder);
                      Click(wnd, L"customeInstallBtn");
                  })
            .OnBox(L"MessageBox2Wnd",
                   [&](toolkit::Window& box) {
                       shown = TextOf(box, L"textLbl");
                       Click(box, L"closebtn");
                   })
            .When([&] { return NewestWindow() == &wnd; },
                  [&] {
                      EXPECT_EQ(Page(wnd), 1);
                      EXPECT_TRUE(Control(wnd, L"customeInstallBtn")->IsEnabled());
                      wnd.Close(1);
                  });
        Run(wnd);
        EXPECT_EQ(shown, c.expectedText);
        EXPECT_EQ(m_downloadStarts, 0);
    }
}

namespace {

void LeavePageTwoAndClose(CMainWnd& wnd)
{
    static_cast<toolkit::TabLayout*>(Control(wnd, L"mainTabLt")->GetInterface(L"TabLayout"))->SelectItem(0, true);
    wnd.Close(1);
}

void Send(CMainWnd& wnd, int32_t code, double value = 0.0, const wchar_t* text = L"")
{
    wnd.OnInstallerEvent({code, value, text});
}

}  // namespace

TEST_F(MainWndTest, InstalledCopyAtStartUp)
{
    UseIdleDownloader();
    enum class Answer { Install, Open, Close, None };
    struct Case {
        const char* what;
        Answer answer;  // which button of the prompt is clicked
        bool insNew;
        const wchar_t* running;
        bool installs;
        bool opensProduct;
    };
    const Case cases[] = {
        {"install latest", Answer::Install, false, L"", true, false},
        {"open the product", Answer::Open, false, L"", false, true},
        {"close the prompt", Answer::Close, false, L"", false, false},
        {"-insnew=true", Answer::None, true, L"", true, false},
        {"product running", Answer::None, false, L"lexivar.exe", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path installed = RecordInstalledCopy();
        m_settings.InsNew = c.insNew;
        m_running = c.running;
        m_started.clear();
        m_downloadStarts = 0;
        CMainWnd wnd(m_settings, m_env);
        std::wstring runningText;
        Driver driver;
        if (c.answer != Answer::None) {
            const wchar_t* button = c.answer == Answer::Install ? L"okBtn"
                                    : c.answer == Answer::Open  ? L"cancelBtn"
                                                                : L"closebtn";
            driver.OnBox(L"InstalledPathTipWnd", [button](toolkit::Window& box) { Click(box, button); });
        }
        if (*c.running)
            driver.OnBox(L"MessageBox1Wnd", [&](toolkit::Window& box) {
                runningText = TextOf(box, L"textLbl");
                Click(box, L"closebtn");
            });
        if (c.installs)
            driver.When([&] { return NewestWindow() == &wnd && Page(wnd) == 2; },
                        [&] { LeavePageTwoAndClose(wnd); });
        Run(wnd);
        EXPECT_TRUE(driver.Done());
        EXPECT_EQ(m_downloadStarts, c.installs ? 1 : 0);
        if (c.installs) {
            EXPECT_EQ(wnd.GetInstallDir(), W(installed));
        }
        EXPECT_EQ(m_started.size(), c.opensProduct ? 1u : 0u);
        if (c.opensProduct && !m_started.empty()) {
            EXPECT_EQ(m_started[0], W(installed / "lexivar.exe"));
        }
        if (*c.running) {
            EXPECT_EQ(runningText, L"安装程序检测到Lexivar\r\n正在运行，请退出程序后再安装");
        }
    }
}

TEST(InstallProgressText, WordingAndPatterns)
{
    struct Case {
        std::wstring pattern;
        double seconds;
        int percent;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"", 0.0, 35, L"正在安装中:35%，请稍候..."},
        {L"", 60.5, 35, L"正在安装中:35%，请耐心等待..."},
        {L"%d%% done", 0.0, 7, L"7% done"},
        {L"%s%n", 0.0, 7, L"正在安装中:7%，请稍候..."},  // never handed to a formatter
    };
    for (const Case& c : cases) EXPECT_EQ(ProgressText(c.pattern, c.seconds, c.percent), c.expected);
}

TEST_F(MainWndTest, ProgressNeverFallsBackAndFailuresResetOnlyLateBars)
{
    UseIdleDownloader();
    CMainWnd wnd(m_settings, m_env);
    struct Step {
        int32_t code;
        double value;
        int bar;
    };
    // DownloadScale 0.7: the download fills 70%, each install report moves on by at least 15% of the rest.
    const Step steps[] = {{DL_CODE_PROGRESS, 0.5, 35}, {IST_CODE_PROGRESS, 0.0, 74}, {IST_CODE_PROGRESS, 0.5, 85},
                          {IST_CODE_PROGRESS, 0.2, 89}, {IST_CODE_PROGRESS, 37.5, 100}, {IST_CODE_PROGRESS, NAN, 100}};
    Driver driver;
    driver.Then([&] { Click(wnd, L"defaultInstallBtn"); })
        .When([&] { return Page(wnd) == 2; },
              [&] {
                  for (const Step& s : steps) {
                      Send(wnd, s.code, s.value);
                      EXPECT_EQ(Bar(wnd), s.bar) << s.code << " " << s.value;
                  }
                  EXPECT_EQ(TextOf(wnd, L"progressLb"), L"正在安装中:100%，请稍候...");
                  Send(wnd, IST_CODE_FAIL, 0.0, L"");
              })
        .OnBox(L"MessageBox2Wnd",
               [&](toolkit::Window& box) {
                   EXPECT_EQ(TextOf(box, L"textLbl"), L"安装失败");
                   Click(box, L"closebtn");
               })
        .When([&] { return NewestWindow() == &wnd; },
              [&] {
                  EXPECT_EQ(Page(wnd), 0);
                  EXPECT_EQ(Bar(wnd), 0);
                  EXPECT_EQ(TextOf(wnd, L"progressLb"), L"正在安装中:0%，请稍候...");
                  Click(wnd, L"defaultInstallBtn");
              })
        .When([&] { return Page(wnd) == 2; },
              [&] {
                  Send(wnd, DL_CODE_PROGRESS, 0.5);
                  Send(wnd, IST_CODE_FAIL, 0.0, L"磁盘已满");
              })
        .OnBox(L"MessageBox2Wnd",
               [&](toolkit::Window& box) {
                   EXPECT_EQ(TextOf(box, L"textLbl"), L"磁盘已满");
                   Click(box, L"closebtn");
               })
        .When([&] { return NewestWindow() == &wnd; },
              [&] {
                  EXPECT_EQ(Bar(wnd), 35);  // below 70: left as it was
                  EXPECT_EQ(TextOf(wnd, L"progressLb"), L"正在安装中:35%，请稍候...");
                  wnd.Close(1);
              });
    Run(wnd);
    EXPECT_TRUE(driver.Done());
}

TEST_F(MainWndTest, DownloadRetryKeepsTheChoicesOfTheStartPage)
{
    UseIdleDownloader();
    CMainWnd wnd(m_settings, m_env);
    const std::wstring chosen = W(ScratchDir("mainwnd-retry") / "Apps");
    auto failDownload = [&] { Send(wnd, DL_CODE_FAIL, 0.0, L""); };
    Driver driver;
    driver.Then([&] { Click(wnd, L"customeBtn"); })
        .When([&] { return Page(wnd) == 1; },
              [&] {
                  static_cast<toolkit::Edit*>(Control(wnd, L"installDirEdit")->GetInterface(L"Edit"))
                      ->SetText(chosen);
                  Click(wnd, L"customeInstallBtn");
              })
        .When([&] { return Page(wnd) == 2; }, failDownload)
        .OnBox(L"NetworkTipWnd", [](toolkit::Window& box) { Click(box, L"okBtn"); })  // 重新安装
        .When([&] { return NewestWindow() == &wnd && m_downloadStarts == 2; },
              [&] {
                  EXPECT_EQ(Page(wnd), 2);
                  EXPECT_EQ(wnd.GetInstallDir(), chosen + L"/Lexivar");
                  failDownload();
              })
        .OnBox(L"NetworkTipWnd", [](toolkit::Window& box) { Click(box, L"cancelBtn"); })  // 稍后再试
        .When([&] { return NewestWindow() == &wnd; },
              [&] {
                  EXPECT_EQ(Page(wnd), 1);
                  EXPECT_EQ(wnd.GetStartPage(), 1);
                  wnd.Close(1);  // no installed copy: "try later" leaves the window open
              });
    Run(wnd);
    EXPECT_TRUE(driver.Done());
    EXPECT_EQ(m_downloadStarts, 2);
}

TEST_F(MainWndTest, ClosingRules)
{
    UseIdleDownloader();
    {
        SCOPED_TRACE("pages 0 and 2");
        CMainWnd wnd(m_settings, m_env);
        Driver driver;
        driver.Then([&] { Click(wnd, L"closebtn"); })
            .OnBox(L"ExitTipWnd", [](toolkit::Window& box) { Click(box, L"cancelBtn"); })  // 否
            .When([&] { return NewestWindow() == &wnd; }, [&] { Click(wnd, L"defaultInstallBtn"); })
            .When([&] { return Page(wnd) == 2; }, [&] { wnd.Close(1); })
            .Then([&] {
                EXPECT_TRUE(wnd.IsWindow()) << "closed during the installation";
                Send(wnd, IST_CODE_FAIL);
            })
            .OnBox(L"MessageBox2Wnd", [](toolkit::Window& box) { Click(box, L"closebtn"); })
            .When([&] { return NewestWindow() == &wnd; }, [&] { Click(wnd, L"closebtn"); })
            .OnBox(L"ExitTipWnd", [](toolkit::Window& box) { Click(box, L"okBtn"); });  // 是
        Run(wnd);
        EXPECT_TRUE(driver.Done());
        EXPECT_FALSE(wnd.IsWindow());
    }
    for (bool closeDelaySent : {false, true}) {
        SCOPED_TRACE(closeDelaySent ? "finish-close delay sent" : "no finish-close delay");
        fs::remove_all(kHome / "config");  // the first round recorded an installation
        CMainWnd wnd(m_settings, m_env);
        bool openAfterTenMinutes = false;
        Driver driver;
        driver.Then([&] { Click(wnd, L"defaultInstallBtn"); })
            .When([&] { return Page(wnd) == 2; },
                  [&] {
                      if (closeDelaySent) Send(wnd, IST_INFO_FINISH_CLOSE_DETENTION, 5000.0);
                      Send(wnd, IST_CODE_SUCCESS, 1.0);
                      EXPECT_EQ(Page(wnd), 3);
                      Backend().Advance(10 * 60 * 1000);
                  })
            .Then([] {})  // the timers that are due now fire here
            .Then([&] {
                openAfterTenMinutes = true;
                Click(wnd, L"closebtn");  // page 3: no question asked
            });
        Run(wnd);
        EXPECT_EQ(openAfterTenMinutes, !closeDelaySent);
        EXPECT_FALSE(wnd.IsWindow());
    }
}

namespace {

// A folder dialog the test answers; it also ends when the window stops it.
class ScriptedFolderDialog {
public:
    FolderBrowse::Browser Browser()
    {
        return [this](const std::wstring& title, std::stop_token stop) -> std::optional<std::wstring> {
            std::unique_lock lock(m_mutex);
            ++m_opened;
            m_title = title;
            m_answered.wait(lock, stop, [this] { return m_answer.has_value(); });
            if (stop.stop_requested()) ++m_stopped;
            auto answer = std::exchange(m_answer, std::nullopt);
            return answer ? *answer : std::nullopt;
        };
    }
    void Answer(std::optional<std::wstring> folder)
    {
        std::lock_guard lock(m_mutex);
        m_answer = std::move(folder);
        m_answered.notify_all();
    }
    int Opened()
    {
        std::lock_guard lock(m_mutex);
        return m_opened;
    }
    bool AnswerTaken()
    {
        std::lock_guard lock(m_mutex);
        return !m_answer;
    }

    std::mutex m_mutex;
    std::condition_variable_any m_answered;
    std::optional<std::optional<std::wstring>> m_answer;
    int m_opened = 0;
    int m_stopped = 0;
    std::wstring m_title;
};

std::wstring EditText(CMainWnd& wnd) { return TextOf(wnd, L"installDirEdit"); }

}  // namespace

TEST_F(MainWndTest, FolderButtonAsksWithoutBlockingTheWindow)
{
    ScriptedFolderDialog dialog;
    m_env.browseFolder = dialog.Browser();
    {
        CMainWnd wnd(m_settings, m_env);
        std::wstring defaultDir;
        Driver driver;
        driver.Then([&] { Click(wnd, L"customeBtn"); })
            .When([&] { return Page(wnd) == 1; },
                  [&] {
                      defaultDir = EditText(wnd);
                      Click(wnd, L"chDirBtn");
                      Click(wnd, L"chDirBtn");  // the open dialog keeps the question
                  })
            .When([&] { return dialog.Opened() == 1; }, [&] { Click(wnd, L"backBtn"); })
            // The window goes on working while the dialog is open.
            .When([&] { return Page(wnd) == 0; }, [&] { Click(wnd, L"customeBtn"); })
            .When([&] { return Page(wnd) == 1; }, [&] { dialog.Answer(std::wstring(L"/tmp/x y/Apps")); })
            .When([&] { return EditText(wnd) == L"/tmp/x y/Apps"; }, [&] { Click(wnd, L"chDirBtn"); })
            .When([&] { return dialog.Opened() == 2; }, [&] { dialog.Answer(std::nullopt); })  // cancel
            // Clicks until the window has taken the cancel and opens a new dialog.
            .When([&] {
                if (dialog.Opened() == 3) return true;
                if (dialog.AnswerTaken()) Click(wnd, L"chDirBtn");
                return false;
            },
                  [&] {
                      EXPECT_EQ(EditText(wnd), L"/tmp/x y/Apps") << "a cancel changed the folder";
                      wnd.Close(1);  // with the third dialog still open
                  });
        Run(wnd);
        EXPECT_TRUE(driver.Done());
        EXPECT_NE(defaultDir, L"/tmp/x y/Apps");
    }
    EXPECT_EQ(dialog.m_title, L"选择一个文件夹");
    EXPECT_EQ(dialog.m_stopped, 1) << "the window left a dialog open behind it";
}

TEST_F(MainWndTest, FolderButtonUsesTheDesktopChooser)
{
    const fs::path bin = ScratchDir("mainwnd-chooser-bin");
    lexivar::test::WriteScript(bin / "zenity", "printf '/tmp/x y/Apps\\n'");
    lexivar::test::ScopedEnv path("PATH", bin.string());
    lexivar::test::ScopedEnv bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (bin / "no-bus").string());
    CMainWnd wnd(m_settings, m_env);  // the system's own folder dialog
    Driver driver;
    driver.Then([&] { Click(wnd, L"customeBtn"); })
        .When([&] { return Page(wnd) == 1; }, [&] { Click(wnd, L"chDirBtn"); })
        .When([&] { return EditText(wnd) == L"/tmp/x y/Apps"; }, [&] { wnd.Close(1); });
    Run(wnd);
    EXPECT_TRUE(driver.Done());
}
