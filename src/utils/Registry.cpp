#include "utils/Registry.h"

#include "platform/Registry.h"

namespace Utils {

bool WriteRegString(const std::wstring& valueName, const std::wstring& text)
{
    return Platform::RegSetValue(kProductRegistryKey, valueName, Platform::RegistryValue{Platform::kRegSz, text});
}

bool ReadRegString(const std::wstring& valueName, uint32_t& type, std::wstring& text)
{
    auto value = Platform::RegQueryValue(kProductRegistryKey, valueName);
    if (!value) return false;
    type = value->type;
    // Stored data may carry a zero; the text ends there, as a zero-filled read buffer would.
    text = value->data.substr(0, value->data.find(L'\0'));
    return true;
}

}  // namespace Utils
