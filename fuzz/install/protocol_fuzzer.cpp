// Child output in both dialects of the console line protocol: the bytes go
// through the line carrier in pieces, then each line is decoded with the
// code page in force and parsed, as the runners do.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "install/CInstaller.h"
#include "install/ConsoleProtocol.h"
#include "install/LineCarrier.h"
#include "install/OutputDecoder.h"
#include "utils/Text.h"

namespace {

void Check(int32_t code, double value, const wchar_t* text) {
    // Every event carries a text and a usable number.
    if (text == nullptr || !std::isfinite(value) || code < 2000 || code > 5005) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const bool installer = (data[0] & 1) != 0;
    const size_t piece = 1 + data[1] % 64;  // where the pipe reads happen to end
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    CInstaller runner(&Check, L"\"/p\"", L"", false, false, false);
    Install::ProtocolState uninstall;
    Install::LineCarrier carrier;
    Install::ProtocolState install;
    auto parseLines = [&](std::string_view lines) {
        Install::ProtocolState& state = installer ? install : uninstall;
        Install::DecodeLines(lines, state.codePage, [&](std::wstring_view line) {
            // The installer's own entry point for half the lines, the shared parser for the rest.
            if (installer && line.size() % 2) return runner.Parse(std::wstring(line)) != 0 && false;
            Install::ParseLine(installer ? Install::Dialect::Installer : Install::Dialect::Uninstaller, line, state, &Check);
            return false;
        });
    };
    for (size_t at = 0; at < bytes.size(); at += piece) parseLines(carrier.Feed(bytes.substr(at, piece)));
    parseLines(carrier.TakeRest());
    // The whole output as one block, as a single read would deliver it.
    Install::ProtocolState block;
    Install::ParseBlock(installer ? Install::Dialect::Installer : Install::Dialect::Uninstaller,
                        Utils::ToWide(bytes, Utils::CP_UTF8), block, &Check);
    return 0;
}
