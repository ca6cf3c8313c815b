// The tracker's configuration file is read at every start and may hold
// anything a previous run, another program or a disk error left there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "analytics/TrackerState.h"

namespace {

std::string ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lexivar-identity-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = ScratchFolder();
    zerin::analytics::TrackerState state("");
    state.locateFiles("Fuzz.app", {folder + "/exe", folder + "/data"});
    std::ofstream(state.configPath, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    state.load();
    // Whatever the file held, the tracker leaves with a distinct id it can send.
    if (state.distinctId.empty() || state.distinctId.size() > 127) std::abort();
    if (state.primaryDistinctId.size() > 127 || state.userId.size() > 127) std::abort();
    return 0;
}
