#include "utils/Guid.h"

#include "platform/Guid.h"

#include <cwchar>

namespace Utils {

std::wstring CreateGuidString()
{
    Platform::Guid g;
    if (!Platform::CreateGuid(g)) return {};
    wchar_t buffer[50];
    int n = std::swprintf(buffer, 50, L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", g.Data1,
                          static_cast<unsigned>(g.Data2), static_cast<unsigned>(g.Data3),
                          static_cast<unsigned>(g.Data4[0]), static_cast<unsigned>(g.Data4[1]),
                          static_cast<unsigned>(g.Data4[2]), static_cast<unsigned>(g.Data4[3]),
                          static_cast<unsigned>(g.Data4[4]), static_cast<unsigned>(g.Data4[5]),
                          static_cast<unsigned>(g.Data4[6]), static_cast<unsigned>(g.Data4[7]));
    return n == 32 ? std::wstring(buffer, 32) : std::wstring();
}

}  // namespace Utils
