// The folder chooser with stand-in chooser programs on PATH; the desktop
// portal is asked only when the test display has one (see the last test).
#include "platform/FolderBrowser.h"

#include "platform/Process.h"

#include "common/child_process.h"
#include "common/test_files.h"
#include "utils/ScopedEnv.h"

#include <chrono>
#include <filesystem>
#include <future>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using lexivar::test::ReadFile;
using lexivar::test::ScopedEnv;
using lexivar::test::ScratchDir;
using lexivar::test::WriteScript;

namespace {

constexpr const char* kTitle = "选择一个文件夹";

// PATH holds only the stand-ins, and no session bus can be reached, so the
// real desktop never gets a dialog from these tests.
class FolderBrowserTest : public ::testing::Test {
protected:
    fs::path m_bin = ScratchDir("folder-browser-bin");
    ScopedEnv m_path{"PATH", m_bin.string()};
    ScopedEnv m_bus{"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (m_bin / "no-bus").string()};
};

}  // namespace

TEST(FolderBrowser, FileUris)
{
    struct Case {
        const char* uri;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"file:///home/ann/My%20Apps", "/home/ann/My Apps"},
        {"file://localhost/opt/%E8%BD%AF%E4%BB%B6", "/opt/软件"},
        {"file:///a%2", std::nullopt},          // cut-off escape
        {"file:///a%zz", std::nullopt},         // not hex
        {"file:///a%00b", std::nullopt},        // would cut the path short
        {"file://server/share", std::nullopt},  // another machine
        {"https://example.com/x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(Platform::FileUriToPath(c.uri), c.path) << c.uri;
}

TEST_F(FolderBrowserTest, ProgramChoosers)
{
    struct Case {
        const char* what;
        const char* zenity;   // script body; nullptr: not installed
        const char* kdialog;
        std::optional<std::string> folder;
    };
    const Case cases[] = {
        {"zenity answers", "printf '/tmp/x y/Apps\\n'", "printf '/wrong\\n'", "/tmp/x y/Apps"},
        {"cancel is final", "exit 1", "printf '/wrong\\n'", std::nullopt},
        {"zenity missing", nullptr, "printf '/opt/k\\n'", "/opt/k"},
        {"zenity cannot show", "exit 255", "printf '/opt/k\\n'", "/opt/k"},
        {"a relative answer", "printf 'Apps\\n'", nullptr, std::nullopt},
        {"no chooser at all", nullptr, nullptr, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(m_bin / "zenity");
        fs::remove(m_bin / "kdialog");
        if (c.zenity) WriteScript(m_bin / "zenity", std::string("printf '%s\\n' \"$@\" > \"$0.args\"\n") + c.zenity);
        if (c.kdialog) WriteScript(m_bin / "kdialog", c.kdialog);
        EXPECT_EQ(Platform::BrowseForFolder(kTitle, {}), c.folder);
    }
    // The last stand-in zenity recorded how it was asked.
    EXPECT_EQ(ReadFile(m_bin / "zenity.args"),
              std::string("--file-selection\n--directory\n--title=") + kTitle + "\n");
}

TEST_F(FolderBrowserTest, StopClosesADialogThatNeverAnswers)
{
    const fs::path pidFile = m_bin / "zenity.pid";
    WriteScript(m_bin / "zenity", "echo $$ > '" + pidFile.string() + "'\nexec /bin/sleep 600");
    std::stop_source stop;
    auto answer = std::async(std::launch::async, [&] { return Platform::BrowseForFolder(kTitle, stop.get_token()); });
    while (ReadFile(pidFile).empty()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(answer.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    stop.request_stop();
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(answer.get(), std::nullopt);
    const std::string pid = ReadFile(pidFile).substr(0, ReadFile(pidFile).find('\n'));
    EXPECT_FALSE(fs::exists("/proc/" + pid)) << "the dialog outlived the request";
}

namespace {

// A session bus of the test's own, with the desktop portal started on demand
// by the bus; the portal and its helpers end with the bus.
class PrivateSessionBus final {
public:
    explicit PrivateSessionBus(const fs::path& runtime)
    {
        Platform::Handle readEnd = Platform::kNullHandle, writeEnd = Platform::kNullHandle;
        if (!Platform::CreatePipe(readEnd, writeEnd)) return;
        // The portal picks its dialogs by desktop; its GTK dialogs serve this one.
        ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");
        ScopedEnv runtimeDir("XDG_RUNTIME_DIR", runtime.string());
        const int rc = Platform::Spawn({"dbus-daemon", "--session", "--nofork", "--print-address=1"},
                                       Platform::kNullHandle, writeEnd, Platform::kNullHandle, "", m_daemon);
        Platform::CloseHandle(writeEnd);
        char buffer[512];
        size_t n = 0;
        if (rc == 0 && Platform::WaitReadable(readEnd, 5000) && Platform::ReadFile(readEnd, buffer, sizeof buffer, n))
            m_address.assign(buffer, n);
        m_address = m_address.substr(0, m_address.find('\n'));
        Platform::CloseHandle(readEnd);
    }
    ~PrivateSessionBus()
    {
        Platform::Terminate(m_daemon);
        Platform::WaitForExit(m_daemon);
    }
    const std::string& Address() const { return m_address; }

private:
    Platform::ChildProcess m_daemon;
    std::string m_address;
};

std::string FindWindow(const char* name)
{
    const auto found = lexivar::test::RunProcess({"/usr/bin/xdotool", "search", "--name", name});
    return found.out.substr(0, found.out.find('\n'));
}

}  // namespace

// The portal's dialog carries our title and closes when the request is
// stopped. (Choosing inside it needs a window manager the test display lacks.)
TEST_F(FolderBrowserTest, DesktopPortal)
{
    if (!std::getenv("DISPLAY") || !fs::exists("/usr/bin/xdotool") || !fs::exists("/usr/bin/dbus-daemon") ||
        !fs::exists("/usr/libexec/xdg-desktop-portal"))
        GTEST_SKIP() << "needs a display, xdotool, dbus-daemon and the desktop portal";
    ScopedEnv path("PATH", "/usr/bin:/bin");  // for the bus daemon; zenity is never reached below
    PrivateSessionBus bus(ScratchDir("folder-browser-runtime"));
    ASSERT_FALSE(bus.Address().empty());
    ScopedEnv address("DBUS_SESSION_BUS_ADDRESS", bus.Address());

    std::stop_source stop;
    auto answer = std::async(std::launch::async, [&] { return Platform::BrowseForFolder(kTitle, stop.get_token()); });
    std::string window;
    for (int i = 0; i < 300 && window.empty(); ++i) {
        if (answer.wait_for(std::chrono::milliseconds(50)) == std::future_status::ready) break;
        window = FindWindow(kTitle);
    }
    stop.request_stop();
    const bool ended = answer.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (window.empty() && ended) GTEST_SKIP() << "the portal shows no file chooser on this desktop";
    ASSERT_TRUE(ended) << "a stopped request kept waiting";
    EXPECT_EQ(answer.get(), std::nullopt);
    std::string stillThere = window;
    for (int i = 0; i < 100 && !stillThere.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stillThere = FindWindow(kTitle);
    }
    EXPECT_TRUE(stillThere.empty()) << "the dialog stayed open";
}
