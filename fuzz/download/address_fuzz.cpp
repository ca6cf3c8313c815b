// Download addresses come from settings, the command line and the server's
// redirects: any bytes. The digest is read from the address and the system
// download service gets it percent-encoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "utils/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view address(reinterpret_cast<const char*>(data), size);
    const std::string segment = Utils::UrlParentSegment(address);
    if (segment.find('/') != std::string::npos || address.find(segment) == std::string_view::npos) std::abort();

    const std::wstring encoded = Utils::UrlEncode(Utils::ToWide(address, Utils::CP_UTF8));
    for (wchar_t c : encoded)
        if (c < 33 || c > 126) std::abort();  // what goes on the wire is printable ASCII only
    return 0;
}
