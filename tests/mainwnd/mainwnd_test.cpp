// The main window in-process on the off-screen backend: pages, checks,
// prompts and the controller's events.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "common/nginx_server.h"
#include "install/InstallCodes.h"
#include "mainwnd/mainwnd_fixture.h"
#include "platform/PrivateProfile.h"
#include "toolkit/edit.h"
#include "toolkit/language_texts.h"
#include "utils/Registry.h"

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
