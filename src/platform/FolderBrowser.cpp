#include "platform/FolderBrowser.h"

#include "platform/FolderPortal.h"
#include "platform/Process.h"

#include <vector>

namespace Platform {
namespace {

constexpr int kPollMs = 100;
constexpr size_t kMaxOutput = 64 * 1024;

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

// Runs one chooser program and reads the folder it prints. Exit 0 is an
// answer, exit 1 the user's cancel; anything else (no display, a broken
// installation) means it could not ask and the next chooser may.
ChooserAnswer AskProgram(const std::vector<std::string>& arguments, std::stop_token stop)
{
    Handle readEnd = kNullHandle, writeEnd = kNullHandle;
    if (!CreatePipe(readEnd, writeEnd)) return {};
    ChildProcess child;
    const int rc = Spawn(arguments, kNullHandle, writeEnd, kNullHandle, "", child);
    CloseHandle(writeEnd);
    if (rc != 0) {
        CloseHandle(readEnd);
        return {};
    }
    std::string output;
    bool stopped = false;
    char buffer[4096];
    for (;;) {
        if (stop.stop_requested()) {
            stopped = true;
            Terminate(child);
            break;
        }
        if (!WaitReadable(readEnd, kPollMs)) continue;
        size_t n = 0;
        if (!ReadFile(readEnd, buffer, sizeof buffer, n)) break;
        if (output.size() < kMaxOutput) output.append(buffer, n);
    }
    CloseHandle(readEnd);
    WaitForExit(child);
    if (stopped) return {true, std::nullopt};
    if (child.exitCode == 1) return {true, std::nullopt};
    if (child.exitCode != 0) return {};
    std::string folder = FirstLine(output);
    if (folder.empty() || folder[0] != '/') return {true, std::nullopt};
    return {true, folder};
}

}  // namespace

std::optional<std::string> FileUriToPath(std::string_view uri)
{
    constexpr std::string_view kScheme = "file://";
    if (uri.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    uri.remove_prefix(kScheme.size());
    // Only this machine's files: an empty host or "localhost".
    if (uri.substr(0, 9) == "localhost") uri.remove_prefix(9);
    if (uri.empty() || uri[0] != '/') return std::nullopt;
    std::string path;
    for (size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] != '%') {
            path += uri[i];
            continue;
        }
        const int high = i + 2 < uri.size() ? HexValue(uri[i + 1]) : -1;
        const int low = i + 2 < uri.size() ? HexValue(uri[i + 2]) : -1;
        if (high < 0 || low < 0) return std::nullopt;
        const char decoded = static_cast<char>(high * 16 + low);
        // A path cannot carry a NUL; a decoded one would cut it short.
        if (decoded == '\0') return std::nullopt;
        path += decoded;
        i += 2;
    }
    return path;
}

std::optional<std::string> BrowseForFolder(const std::string& title, std::stop_token stop)
{
    ChooserAnswer answer = AskPortal(title, stop);
    if (answer.shown || stop.stop_requested()) return answer.folder;
    const std::vector<std::vector<std::string>> programs = {
        {"zenity", "--file-selection", "--directory", "--title=" + title},
        {"kdialog", "--title", title, "--getexistingdirectory"},
    };
    for (const auto& arguments : programs) {
        answer = AskProgram(arguments, stop);
        if (answer.shown || stop.stop_requested()) return answer.folder;
    }
    return std::nullopt;
}

}  // namespace Platform
