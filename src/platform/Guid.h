#pragma once
// Random (version 4) GUIDs from the kernel's random source.
#include <cstdint>

namespace Platform {

struct Guid {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};
};

// False only when the random source fails.
bool CreateGuid(Guid& guid);

}  // namespace Platform
