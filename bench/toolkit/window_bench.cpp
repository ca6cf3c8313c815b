// Window start-up and animation cost under the current X display:
//  - time until the main window is visible, against `zenity --info` started
//    the same way (median of 5 each, ratio reported);
//  - CPU time of the running 49-frame animation over 10 s;
//  - resident memory with the skin loaded.
// Usage: toolkit_window_bench BUILD_DIR
#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

pid_t Spawn(std::vector<std::string> argv)
{
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", 1, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", 1, 0);
    if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

bool IsMappedWithName(Display* d, Window w, const char* name)
{
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(d, w, &attrs) || attrs.map_state != IsViewable) return false;
    char* wmName = nullptr;
    bool match = XFetchName(d, w, &wmName) && wmName && std::strcmp(wmName, name) == 0;
    if (wmName) XFree(wmName);
    return match;
}

bool FindVisible(Display* d, Window w, const char* name, int depth = 0)
{
    if (IsMappedWithName(d, w, name)) return true;
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (depth > 3 || !XQueryTree(d, w, &root, &parent, &children, &count)) return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i) found = FindVisible(d, children[i], name, depth + 1);
    if (children) XFree(children);
    return found;
}

// Milliseconds from spawning to a mapped window with the title; -1 on timeout.
double TimeToVisible(Display* d, std::vector<std::string> argv, const char* title, pid_t* keep = nullptr)
{
    auto start = Clock::now();
    pid_t pid = Spawn(std::move(argv));
    double ms = -1;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if (FindVisible(d, DefaultRootWindow(d), title)) {
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (keep)
        *keep = pid;
    else
        Stop(pid);
    return ms;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

double CpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string f;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14) utime = std::stoull(f);
        if (i == 15) stime = std::stoull(f);
    }
    return double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

long RssKiB(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: toolkit_window_bench BUILD_DIR\n", stderr);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fputs("no display\n", stderr);
        return 1;
    }
    std::string build = argv[1];
    std::vector<std::string> ours = {build + "/lexivar-skin-render", "mainWnd.xml", "/dev/null", "--archive",
                                     build + "/skin/skin.7z", "--window", "--page", "2"};
    std::vector<std::string> zenity = {"/usr/bin/zenity", "--info", "--title=lexivar-bench-peer", "--text=Lexivar"};
    std::vector<double> ourTimes, peerTimes;
    for (int i = 0; i < 5; ++i) {
        ourTimes.push_back(TimeToVisible(d, ours, "mainWnd.xml"));
        peerTimes.push_back(TimeToVisible(d, zenity, "lexivar-bench-peer"));
    }
    double our = Median(ourTimes), peer = Median(peerTimes);
    std::printf("visible: main window %.1f ms, zenity --info %.1f ms, ratio %.2f (median of 5)\n", our, peer,
                our / peer);

    pid_t pid = -1;
    TimeToVisible(d, ours, "mainWnd.xml", &pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    double before = CpuSeconds(pid);
    auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    double wall = std::chrono::duration<double>(Clock::now() - start).count();
    double cpu = CpuSeconds(pid) - before;
    std::printf("animation: %.2f%% of one core over %.1f s\n", 100.0 * cpu / wall, wall);
    std::printf("resident memory with the skin loaded: %.1f MiB\n", RssKiB(pid) / 1024.0);
    Stop(pid);
    XCloseDisplay(d);
    return 0;
}
