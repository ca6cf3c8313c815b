// Speed of the SDK's hot paths against the peers named for them, measured side
// by side in one run:
//  - building, validating and serialising a 20-property event vs serialising
//    the same record with JsonCpp's writer;
//  - compressing and encoding a 30-record batch vs `gzip -9` on the same bytes;
//  - the worst Add latency while a flush to a stalled endpoint is in flight.
#include <benchmark/benchmark.h>
#include <json/json.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <thread>

#include "event_sdk/batch_encoder.h"
#include "event_sdk/child_process.h"
#include "event_sdk/output.h"
#include "event_sdk/record_builder.h"
#include "event_sdk/record_consumer.h"

extern char** environ;

namespace {

using event_sdk::PropertiesNode;

constexpr int64_t kNow = 1646136000250;

// A typical installer event: identifiers, versions, counters, flags.
PropertiesNode TypicalProperties(int variant) {
    PropertiesNode p;
    p.SetString("zr_app_id", "Lexivar");
    p.SetString("$app_version", "3.2.1");
    p.SetString("zr_app_store", "official");
    p.SetString("zr_dlapp_id", "LexivarSetup");
    p.SetString("zr_dlapp_version", "3.2.1." + std::to_string(variant));
    p.SetString("zr_name", "defaultInstallBtn");
    p.SetString("zr_title", "Install now");
    p.SetString("zr_position", "page0");
    p.SetString("zr_module", "installer");
    p.SetString("$os", "Linux");
    p.SetString("$os_version", "Debian 12");
    p.SetString("zr_locale", "zh_CN");
    p.SetString("zr_install_path", "/opt/Lexivar/\xE7\xBF\xBB\xE8\xAF\x91");
    p.SetInt("zr_tab_index", variant % 7);
    p.SetInt("zr_banner_index", 2);
    p.SetInt("zr_elapsed_ms", 15234 + variant);
    p.SetNumber("zr_size", 187.5 + variant);
    p.SetNumber("zr_scale", 0.7);
    p.SetBool("$is_first_time", true);
    p.SetBool("zr_is_admin", false);
    return p;
}

PropertiesNode SuperProperties() {
    PropertiesNode s;
    s.SetString("$lib", "cpp");
    s.SetString("$lib_version", "0.9");
    return s;
}

std::string BuildTypical(int variant) {
    const PropertiesNode super = SuperProperties();
    event_sdk::RecordContext context{"track", "ZrEventClick", "3f2a9c1e-device", {}, &super, false, kNow,
                                     123456789};
    return *event_sdk::BuildRecord(context, TypicalProperties(variant));
}

void BM_SdkBuildValidateSerialise(benchmark::State& state) {
    const PropertiesNode super = SuperProperties();
    for (auto _ : state) {
        const PropertiesNode properties = TypicalProperties(1);
        event_sdk::RecordContext context{"track", "ZrEventClick", "3f2a9c1e-device", {}, &super, false, kNow,
                                         123456789};
        auto record = event_sdk::BuildRecord(context, properties);
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_SdkBuildValidateSerialise);

void BM_JsonCppWriteRecord(benchmark::State& state) {
    Json::Value record;
    std::string errors;
    const std::string text = BuildTypical(1);
    std::unique_ptr<Json::CharReader>(Json::CharReaderBuilder().newCharReader())
        ->parse(text.data(), text.data() + text.size(), &record, &errors);
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    for (auto _ : state) {
        std::string out = Json::writeString(writer, record);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_JsonCppWriteRecord);

std::vector<std::vector<std::string>> Batches(int count) {
    std::vector<std::vector<std::string>> batches(static_cast<size_t>(count));
    int variant = 0;
    for (auto& batch : batches)
        for (int i = 0; i < 30; ++i) batch.push_back(BuildTypical(variant++));
    return batches;
}

constexpr int kBatches = 200;

void BM_EncodeBatch(benchmark::State& state) {
    const auto batches = Batches(kBatches);
    size_t bytes = 0;
    for (const auto& b : batches) bytes += event_sdk::JoinBatch(b).size();
    for (auto _ : state) {
        for (const auto& b : batches) benchmark::DoNotOptimize(event_sdk::BuildRequestBody(b));
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_EncodeBatch)->Unit(benchmark::kMillisecond);

// gzip -9 reads the same batch texts from a file, one process for all of
// them, so its start-up cost is spread as thinly as possible. Its time is the
// CPU time the child used, comparable with our own CPU time however busy the
// machine is.
void BM_Gzip9Peer(benchmark::State& state) {
    const auto batches = Batches(kBatches);
    const auto path = std::filesystem::temp_directory_path() / "event_sdk_bench_batches.json";
    size_t bytes = 0;
    {
        std::ofstream out(path, std::ios::binary);
        for (const auto& b : batches) {
            const std::string text = event_sdk::JoinBatch(b);
            out << text;
            bytes += text.size();
        }
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const std::string file = path.string();
    char* argv[] = {const_cast<char*>("gzip"), const_cast<char*>("-9"), const_cast<char*>("-c"),
                    const_cast<char*>(file.c_str()), nullptr};
    for (auto _ : state) {
        pid_t pid = -1;
        if (posix_spawnp(&pid, "gzip", &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("gzip not found");
            break;
        }
        rusage usage{};
        wait4(pid, nullptr, 0, &usage);
        const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
        state.SetIterationTime(seconds(usage.ru_utime) + seconds(usage.ru_stime));
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_Gzip9Peer)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// Keeps each run's figures so the ratios can be printed at the end.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            // CPU time: other load on the machine disturbs it least. The gzip
            // peer reports its child's CPU time as manual time.
            const bool manual = run.benchmark_name().find("manual_time") != std::string::npos;
            m_nsPerIteration[run.benchmark_name()] = manual ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> m_nsPerIteration;
};

struct AddLatency {
    double worstMs = 0;
    double p999Ms = 0;
    size_t adds = 0;
};

// Adds one record after another for `span`, timing each.
AddLatency MeasureAdds(event_sdk::RecordConsumer& consumer, const std::string& record, std::chrono::milliseconds span) {
    std::vector<double> samples;
    samples.reserve(1 << 22);
    const auto end = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < end && samples.size() < samples.capacity()) {
        std::string copy = record;
        const auto start = std::chrono::steady_clock::now();
        consumer.Add(std::move(copy));
        samples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    AddLatency result;
    result.adds = samples.size();
    if (samples.empty()) return result;
    std::sort(samples.begin(), samples.end());
    result.worstMs = samples.back();
    result.p999Ms = samples[samples.size() * 999 / 1000];
    return result;
}

// Add latency while another thread's flush waits on an endpoint that never
// answers (the request runs into its 3-second limit), next to the same
// measurement with no flush at all: the difference is what the flush costs.
void ReportAddLatency() {
    const auto folder = std::filesystem::temp_directory_path() / "event_sdk_bench_collector";
    std::filesystem::create_directories(folder);
    event_sdk::test::Collector collector(folder.string(), {"--fault", "stall", "--stall-seconds", "30"});
    if (!collector.running()) {
        std::cout << "add latency: collector did not start\n";
        return;
    }
    event_sdk::SetErrorOutput([](std::string_view) {});
    const std::string record = BuildTypical(0);
    event_sdk::RecordConsumer idle(collector.Url(), (folder / "idle.txt").string());
    const AddLatency quiet = MeasureAdds(idle, record, std::chrono::milliseconds(2500));

    event_sdk::RecordConsumer consumer(collector.Url(), (folder / "staging.txt").string());
    for (int i = 0; i < 30; ++i) consumer.Add(record);
    std::thread flusher([&] { consumer.Flush(); });
    while (consumer.QueueSize() != 0) std::this_thread::yield();
    const AddLatency stalled = MeasureAdds(consumer, record, std::chrono::milliseconds(2500));
    flusher.join();
    event_sdk::SetErrorOutput({});
    std::filesystem::remove_all(folder);
    std::cout << "add latency during a stalled flush: worst " << stalled.worstMs << " ms, 99.9% " << stalled.p999Ms
              << " ms over " << stalled.adds << " adds (goal: worst <= 1 ms)\n"
              << "add latency with no flush:          worst " << quiet.worstMs << " ms, 99.9% " << quiet.p999Ms
              << " ms over " << quiet.adds << " adds\n";
}

}  // namespace

int main(int argc, char** argv) {
    // The latency check takes a few seconds; a filtered run is asking for something else.
    bool filtered = false;
    for (int i = 1; i < argc; ++i) filtered |= std::string_view(argv[i]).starts_with("--benchmark_filter");
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& ns = reporter.m_nsPerIteration;
    if (ns.count("BM_SdkBuildValidateSerialise") && ns.count("BM_JsonCppWriteRecord"))
        std::cout << "record: SDK build+validate+serialise is "
                  << ns["BM_JsonCppWriteRecord"] / ns["BM_SdkBuildValidateSerialise"]
                  << "x the speed of JsonCpp serialising the same record (goal >= 2)\n";
    const std::string gzip = "BM_Gzip9Peer/iterations:3/manual_time";
    if (ns.count("BM_EncodeBatch") && ns.count(gzip) && ns["BM_EncodeBatch"] > 0)
        std::cout << "batch: compress+Base64+percent-encode is " << ns[gzip] / ns["BM_EncodeBatch"]
                  << "x the throughput of gzip -9 (goal >= 0.9)\n";
    if (!filtered) ReportAddLatency();
    benchmark::Shutdown();
    return 0;
}
