// Settings (INI) files of any shape: lookups and writes must not crash, and a
// value written must read back while the rest of the file keeps its lines.
#include "platform/PrivateProfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string content(reinterpret_cast<const char*>(data), size);
    for (const char* section : {"Install", "install", ""})
        for (const char* key : {"DownloadType", "DownloadUrl", "", "="}) Platform::FindProfileValue(content, section, key);

    const std::string key = "Language";
    const std::string value = "zh-CN";
    auto updated = Platform::SetProfileValue(content, "Install", &key, &value);
    if (!updated) std::abort();  // plain names and values are always storable
    if (Platform::FindProfileValue(*updated, "Install", key) != value) std::abort();
    auto removed = Platform::SetProfileValue(*updated, "Install", &key, nullptr);
    if (!removed) std::abort();
    Platform::SetProfileValue(content, "Install", nullptr, nullptr);
    return 0;
}
