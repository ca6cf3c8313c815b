// How fast child output becomes events: bytes through the line carrier,
// decoding and the installer dialect, as the runner's worker does it.
#include <benchmark/benchmark.h>

#include <string>

#include "install/ConsoleProtocol.h"
#include "install/LineCarrier.h"
#include "install/OutputDecoder.h"
#include "utils/Text.h"

namespace {

std::string SampleOutput(size_t bytes) {
    const std::string lines =
        "Progress=0.4213\nInstPath=/opt/Lexivar\nUninstEp=/opt/Lexivar/uninst.ep\n"
        "Message=正在复制文件 share/lexivar/glossary.dat\nsome unrelated diagnostic text from the installer\n"
        "InstallVersion=1.7.9\nStartupStyle=UserStartup\n";
    std::string out;
    while (out.size() < bytes) out += lines;
    return out;
}

void ParseChildOutput(benchmark::State& state) {
    const std::string output = SampleOutput(8u << 20);
    const size_t read = static_cast<size_t>(state.range(0));
    size_t events = 0;
    const StatusCallback count = [&](int32_t, double, const wchar_t*) { ++events; };
    Install::ProtocolState protocol;
    protocol.codePage = Utils::CP_UTF8;
    for (auto _ : state) {
        Install::LineCarrier carrier;
        for (size_t at = 0; at < output.size(); at += read) {
            Install::DecodeLines(carrier.Feed(std::string_view(output).substr(at, read)), protocol.codePage,
                                 [&](std::wstring_view line) {
                                     return Install::ParseLine(Install::Dialect::Installer, line, protocol, count) != 0;
                                 });
        }
    }
    benchmark::DoNotOptimize(events);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * output.size()));
}

}  // namespace

BENCHMARK(ParseChildOutput)->Arg(1024)->Arg(16 * 1024)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
