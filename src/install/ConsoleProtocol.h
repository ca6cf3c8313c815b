#pragma once
// The console line protocol spoken by the package installer and by the
// uninstaller of an installed version: "Key=value" lines on the child's
// standard output, each turned into a status event.
#include <cstdint>
#include <string_view>

#include "download/Downloader.h"

namespace Install {

enum class Dialect { Installer, Uninstaller };

struct ProtocolState {
    // Code page of the child's output: 0 (ANSI) until an "Encode=" line says otherwise.
    unsigned int codePage = 0;
    int32_t version[3] = {0, 0, 0};  // last "InstallVersion=" line
};

// Longest text value passed on; longer values are cut.
inline constexpr size_t kMaxValueChars = 771;

// Parses one line (without its "\n"). Returns kParseContinue, kParseSucceeded
// or kParseFailed.
int32_t ParseLine(Dialect dialect, std::wstring_view line, ProtocolState& state, const StatusCallback& callback);

// Parses a block of lines separated by "\n". The installer's block ends at its
// first final line, so a run reports exactly one outcome; the uninstaller's
// reader goes on after a final line and the block is parsed to its end.
int32_t ParseBlock(Dialect dialect, std::wstring_view block, ProtocolState& state, const StatusCallback& callback);

}  // namespace Install
