#include "platform/OsRelease.h"

#include "platform/FileSystem.h"

namespace Platform {
namespace {

std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) ++i;
        out += value[i];
    }
    return out;
}

}  // namespace

OsRelease ParseOsRelease(std::string_view content)
{
    OsRelease release;
    size_t pos = 0;
    while (pos < content.size()) {
        size_t nl = content.find('\n', pos);
        std::string_view line = content.substr(pos, nl == std::string_view::npos ? std::string_view::npos : nl - pos);
        pos = nl == std::string_view::npos ? content.size() : nl + 1;
        auto eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = line.substr(0, eq);
        std::string value = Unquote(line.substr(eq + 1));
        if (key == "NAME") release.name = value;
        else if (key == "VERSION_ID") release.versionId = value;
        else if (key == "PRETTY_NAME") release.prettyName = value;
    }
    return release;
}

OsRelease ReadOsRelease()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        if (auto content = ReadWholeFile(path, 64 * 1024)) return ParseOsRelease(*content);
    }
    return {};
}

}  // namespace Platform
