#pragma once
// What the download tests share: fast options, a scratch folder, and a helper
// that runs one downloader to its end the way the controller drives it.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "common/test_files.h"
#include "download/DownloaderFactory.h"
#include "download/event_recorder.h"
#include "utils/Text.h"

namespace lexivar::test {

namespace fs = std::filesystem;

// No pauses between attempts; a clock that moves a second on every reading so
// that every progress evaluation counts.
inline DownloadOptions FastOptions(bool tickingClock = false) {
    DownloadOptions options;
    options.retryPause = std::chrono::milliseconds(0);
    options.partRetryPause = std::chrono::milliseconds(0);
    options.partStagger = std::chrono::milliseconds(20);
    options.systemRetryPause = std::chrono::milliseconds(0);
    if (tickingClock) {
        auto seconds = std::make_shared<std::atomic<std::int64_t>>(1000);
        options.now = [seconds] { return seconds->fetch_add(1); };
    }
    return options;
}

struct DownloadRun {
    EventRecorder recorder;
    std::unique_ptr<CDownloader> downloader;
};

// Starts a downloader of `type`, restarts it on 1005, and waits for its end.
inline std::unique_ptr<DownloadRun> RunDownload(int type, const std::string& url, const fs::path& target,
                                                DownloadOptions options = FastOptions()) {
    auto run = std::make_unique<DownloadRun>();
    const std::wstring wideUrl = Utils::ToWide(url, 65001);
    run->downloader = CreateDownloader(type, run->recorder.Callback(), wideUrl, target.wstring(), options);
    run->recorder.RestartOnRetry(run->downloader.get());
    run->downloader->Start();
    EXPECT_TRUE(run->recorder.WaitForEnd(std::chrono::seconds(120))) << "type " << type << " " << url;
    return run;
}

inline std::string PackagePathFor(const std::string& digest) { return "/pkg/" + digest + "/setup.exe"; }

inline std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace lexivar::test
