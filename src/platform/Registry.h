#pragma once
// The per-user registry: one human-readable text file per key under
// ${XDG_CONFIG_HOME:-~/.config}, e.g. "Software\ZeRinSoft\Lexivar" is
// ~/.config/ZeRinSoft/Lexivar.reg. Each value is one line
//   name<TAB>type<TAB>data
// with "\\", "\t", "\n" and "\r" escaped; lines starting with "#" are comments.
// Writers hold a lock file and replace the file atomically.
#include <cstdint>
#include <optional>
#include <string>

namespace Platform {

inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegDword = 4;

struct RegistryValue {
    uint32_t type = kRegSz;
    std::wstring data;  // text values as they are, numbers in decimal
};

// The file that holds `key`; empty when the key path is not acceptable
// (empty components, "." or "..", or no folder for the configuration).
std::string RegistryKeyFile(const std::wstring& key);

bool RegSetValue(const std::wstring& key, const std::wstring& name, const RegistryValue& value);
std::optional<RegistryValue> RegQueryValue(const std::wstring& key, const std::wstring& name);
bool RegDeleteValue(const std::wstring& key, const std::wstring& name);

}  // namespace Platform
