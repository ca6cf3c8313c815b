// Command lines of any shape: splitting, option parsing and applying them to the
// settings must neither crash nor loop, and quoting must round-trip.
#include "app/InstallerSettings.h"
#include "platform/CommandLineSplit.h"
#include "utils/CommandLine.h"
#include "utils/Text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::wstring text = Utils::ToWide(std::string(reinterpret_cast<const char*>(data), size), Utils::CP_UTF8);
    std::vector<std::wstring> args = Platform::SplitCommandLine(text);
    if (!args.empty() && args[0].find(L'"') == std::wstring::npos &&
        Platform::SplitCommandLine(Platform::QuoteArguments(args)) != args)
        std::abort();

    Utils::CommandLine commandLine(text);
    InstallerSettings settings;
    settings.ApplyCommandLine(commandLine);
    if (!std::isfinite(settings.DownloadScale) || settings.DownloadScale < 0.0 || settings.DownloadScale > 1.0)
        std::abort();
    return 0;
}
