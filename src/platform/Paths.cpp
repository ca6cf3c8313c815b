#include "platform/Paths.h"

#include "platform/FileSystem.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace Platform {
namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// XDG variables must hold absolute paths; anything else is ignored.
std::string AbsoluteEnv(const char* name)
{
    std::string value = Env(name);
    return !value.empty() && value[0] == '/' ? value : std::string();
}

std::string StripTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string PrivateRuntimeFolder()
{
    std::string path = "/tmp/lexivar-" + std::to_string(geteuid());
    return EnsurePrivateDirectory(path) ? path : std::string();
}

}  // namespace

std::string ExecutablePath()
{
    char buffer[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

std::string HomeFolder()
{
    std::string home = AbsoluteEnv("HOME");
    if (!home.empty()) return StripTrailingSlash(home);
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (getpwuid_r(geteuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr && found->pw_dir)
        return StripTrailingSlash(found->pw_dir);
    return {};
}

std::string GetKnownFolder(KnownFolder folder)
{
    std::string value;
    switch (folder) {
    case KnownFolder::AppData:
    case KnownFolder::LocalAppData:
        value = AbsoluteEnv("XDG_DATA_HOME");
        if (value.empty() && !HomeFolder().empty()) value = HomeFolder() + "/.local/share";
        break;
    case KnownFolder::ProgramFiles:
        if (geteuid() == 0) value = "/opt";
        else if (!HomeFolder().empty()) value = HomeFolder() + "/.local/opt";
        break;
    case KnownFolder::Temp:
        value = AbsoluteEnv("TMPDIR");
        if (value.empty()) value = "/tmp";
        break;
    case KnownFolder::Config:
        value = AbsoluteEnv("XDG_CONFIG_HOME");
        if (value.empty() && !HomeFolder().empty()) value = HomeFolder() + "/.config";
        break;
    case KnownFolder::Runtime:
        value = AbsoluteEnv("XDG_RUNTIME_DIR");
        if (value.empty() || !IsDirectory(value)) value = PrivateRuntimeFolder();
        break;
    }
    return StripTrailingSlash(value);
}

std::string FileNamePart(const std::string& path)
{
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryPart(const std::string& path)
{
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace Platform
