#pragma once
// The product's own per-user registry key, "Software\ZeRinSoft\Lexivar".
#include <cstdint>
#include <string>

namespace Utils {

inline constexpr uint32_t REG_SZ = 1;
inline constexpr wchar_t kProductRegistryKey[] = L"Software\\ZeRinSoft\\Lexivar";

bool WriteRegString(const std::wstring& valueName, const std::wstring& text);
// On success `type` holds the stored type (REG_SZ for what WriteRegString wrote).
bool ReadRegString(const std::wstring& valueName, uint32_t& type, std::wstring& text);

}  // namespace Utils
