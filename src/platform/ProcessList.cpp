#include "platform/ProcessList.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <unistd.h>

namespace Platform {
namespace {

std::string ExeBaseName(const std::string& procDir)
{
    char buffer[PATH_MAX + 1];
    ssize_t n = readlink((procDir + "/exe").c_str(), buffer, PATH_MAX);
    if (n <= 0) return {};
    std::string path(buffer, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";  // the file was replaced while it runs
    if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    return FileNamePart(path);
}

std::string Argv0BaseName(const std::string& procDir)
{
    auto cmdline = ReadWholeFile(procDir + "/cmdline", 1u << 16);
    if (!cmdline || cmdline->empty()) return {};
    return FileNamePart(cmdline->substr(0, cmdline->find('\0')));
}

}  // namespace

std::vector<uint32_t> FindProcessesByImageName(const std::string& imageName)
{
    std::vector<uint32_t> found;
    if (imageName.empty()) return found;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return found;
    const uint32_t self = static_cast<uint32_t>(getpid());
    while (dirent* entry = readdir(proc)) {
        char* end = nullptr;
        unsigned long pid = std::strtoul(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || pid == self || pid > UINT32_MAX) continue;
        std::string dir = std::string("/proc/") + entry->d_name;
        if (ExeBaseName(dir) == imageName || Argv0BaseName(dir) == imageName)
            found.push_back(static_cast<uint32_t>(pid));
    }
    closedir(proc);
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace Platform
