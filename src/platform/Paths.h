#pragma once
// Where things live on this system. Paths use "/" and are UTF-8.
#include <string>

namespace Platform {

enum class KnownFolder {
    AppData,       // ${XDG_DATA_HOME:-~/.local/share}
    LocalAppData,  // same as AppData here
    ProgramFiles,  // /opt for root, else ~/.local/opt
    Temp,          // $TMPDIR or /tmp
    Config,        // ${XDG_CONFIG_HOME:-~/.config}
    Runtime,       // $XDG_RUNTIME_DIR, or a private 0700 folder under /tmp
};

// Full path of the running executable, empty when it cannot be read.
std::string ExecutablePath();
std::string HomeFolder();
// Without a trailing "/"; empty when the folder cannot be determined.
std::string GetKnownFolder(KnownFolder folder);

// "a/b/c.txt" -> "c.txt"; "a/b/" -> "".
std::string FileNamePart(const std::string& path);
// "a/b/c.txt" -> "a/b"; "c.txt" -> "".
std::string DirectoryPart(const std::string& path);

}  // namespace Platform
