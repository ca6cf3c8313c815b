// The same layout rendered off-screen and shown in a real window must look
// the same, and a click on the screen must reach the window's controls.
#include <gtest/gtest.h>

#include <cairo.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/child_process.h"
#include "toolkit/image.h"
#include "toolkit/layout_builder.h"
#include "toolkit/paint_manager.h"
#include "toolkit/skin_archive.h"
#include "toolkit/text.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using lexivar::test::RunProcess;

const std::string kBuild = LEXIVAR_BUILD_DIR;

// The previewer, running in the background with its output in a pipe.
class Previewer {
public:
    Previewer(const std::string& layout, const std::string& out)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<std::string> argv = {kBuild + "/lexivar-skin-render", layout, out, "--archive",
                                         kBuild + "/skin/skin.7z", "--window"};
        std::vector<char*> args;
        for (auto& a : argv) args.push_back(a.data());
        args.push_back(nullptr);
        if (posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        m_out = fds[0];
    }
    ~Previewer()
    {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) close(m_out);
    }
    // Waits for the exit (up to about 10 s) and gives back what it printed.
    std::string Finish(int& exitCode)
    {
        std::string text;
        for (int i = 0; i < 200 && m_pid > 0; ++i) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                m_pid = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        char buffer[4096];
        for (ssize_t n; m_pid < 0 && (n = read(m_out, buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
        return text;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
};

std::string Xdotool(std::vector<std::string> args)
{
    args.insert(args.begin(), "/usr/bin/xdotool");
    return RunProcess(args).out;
}

struct Geometry {
    int x = 0, y = 0, w = 0, h = 0;
};

std::optional<Geometry> WaitForWindow(const std::string& name)
{
    for (int i = 0; i < 100; ++i) {
        std::string id = Xdotool({"search", "--onlyvisible", "--name", "^" + name + "$"});
        if (!id.empty()) {
            std::string shell = Xdotool({"getwindowgeometry", "--shell", id.substr(0, id.find('\n'))});
            Geometry g;
            if (std::sscanf(shell.c_str(), "WINDOW=%*d\nX=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d", &g.x, &g.y, &g.w, &g.h) == 4)
                return g;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
}

// Share of pixels inside the window region that differ by more than a little.
double Difference(const std::string& a, const std::string& b)
{
    toolkit::SurfacePtr sa(cairo_image_surface_create_from_png(a.c_str()));
    toolkit::SurfacePtr sb(cairo_image_surface_create_from_png(b.c_str()));
    if (cairo_surface_status(sa.get()) || cairo_surface_status(sb.get())) return 1.0;
    int w = cairo_image_surface_get_width(sa.get()), h = cairo_image_surface_get_height(sa.get());
    if (w != cairo_image_surface_get_width(sb.get()) || h != cairo_image_surface_get_height(sb.get())) return 1.0;
    long counted = 0, differing = 0;
    for (int y = 0; y < h; ++y) {
        auto* ra = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(sa.get()) + y * cairo_image_surface_get_stride(sa.get()));
        auto* rb = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(sb.get()) + y * cairo_image_surface_get_stride(sb.get()));
        for (int x = 0; x < w; ++x) {
            if ((ra[x] >> 24) != 0xFF) continue;  // outside the rounded region
            ++counted;
            for (int shift = 0; shift < 24; shift += 8)
                if (std::abs(int((ra[x] >> shift) & 0xFF) - int((rb[x] >> shift) & 0xFF)) > 6) {
                    ++differing;
                    break;
                }
        }
    }
    return counted ? double(differing) / counted : 1.0;
}

toolkit::Rect ControlRect(const std::string& layout, const wchar_t* name)
{
    std::ifstream in(kBuild + "/skin/skin.7z", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto archive = toolkit::SkinArchive::FromMemory(std::as_bytes(std::span(bytes)));
    toolkit::PaintManager manager;
    auto root = toolkit::BuildLayout(*archive->ReadLayout(toolkit::FromUtf8(layout)), manager, {});
    manager.AttachRoot(std::move(root));
    toolkit::Control* c = manager.FindControl(name);
    return c ? c->GetPos() : toolkit::Rect{};
}

}  // namespace

TEST(RealWindow, ScreenMatchesRenderingAndClicksArrive)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display || !fs::exists("/usr/bin/xdotool") || !fs::exists("/usr/bin/import"))
        GTEST_SKIP() << "needs a display, xdotool and ImageMagick";
    fs::path dir = fs::temp_directory_path() / ("lexivar-real-window-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string layout = "exitTipWnd.xml";
    Previewer preview(layout, (dir / "render.png").string());
    auto g = WaitForWindow(layout);
    ASSERT_TRUE(g) << "window never appeared";
    EXPECT_EQ(g->w, 360);
    EXPECT_EQ(g->h, 180);

    double diff = 1.0;
    std::string shot = (dir / "screen.png").string();
    // The first frame may be late on a busy machine: look again for up to about 5 s.
    for (int i = 0; i < 50 && diff > 0.01; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        char crop[64];
        std::snprintf(crop, sizeof crop, "%dx%d+%d+%d", g->w, g->h, g->x, g->y);
        RunProcess({"/usr/bin/import", "-window", "root", "-crop", crop, "+repage", shot});
        diff = Difference((dir / "render.png").string(), shot);
    }
    EXPECT_LT(diff, 0.01);

    for (const wchar_t* name : {L"okBtn", L"closebtn"}) {
        toolkit::Rect r = ControlRect(layout, name);
        ASSERT_FALSE(r.Empty());
        Xdotool({"mousemove", std::to_string(g->x + (r.left + r.right) / 2), std::to_string(g->y + (r.top + r.bottom) / 2),
                 "click", "1"});
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    int code = -1;
    std::string out = preview.Finish(code);
    EXPECT_EQ(out, "click okBtn\nclick closebtn\n");
    EXPECT_EQ(code, 0);
    fs::remove_all(dir);
}
