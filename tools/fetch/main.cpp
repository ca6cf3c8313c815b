// lexivar-fetch: runs one downloader the way the installer does and prints each
// of its status events as "code<TAB>value<TAB>text".
//
//   lexivar-fetch --type=N URL PATH
//
// After 1005 the same downloader is started again; the exit code is 0 after
// 1003, 1 after 1004 and 2 for a wrong command line.

#include <curl/curl.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "download/DownloaderFactory.h"
#include "utils/Text.h"

namespace {

struct Session {
    std::mutex mutex;
    std::condition_variable ended;
    int exitCode = -1;
    std::atomic<CDownloader*> downloader{nullptr};
};

void PrintEvent(std::int32_t code, double value, const wchar_t* text) {
    const std::string utf8 = Utils::ToNarrow(text, 65001);
    std::printf("%d\t%.10g\t%s\n", code, value, utf8.c_str());
    std::fflush(stdout);
}

int Usage() {
    std::fputs("usage: lexivar-fetch --type=N URL PATH\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::strncmp(argv[1], "--type=", 7) != 0) return Usage();
    char* end = nullptr;
    const long type = std::strtol(argv[1] + 7, &end, 10);
    if (end == argv[1] + 7 || *end != '\0') return Usage();

    curl_global_init(CURL_GLOBAL_DEFAULT);
    Session session;
    auto callback = [&session](std::int32_t code, double value, const wchar_t* text) {
        {
            std::lock_guard lock(session.mutex);
            PrintEvent(code, value, text);
        }
        if (code == DL_CODE_RETRY) {
            session.downloader.load()->Start();
        } else if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) {
            std::lock_guard lock(session.mutex);
            session.exitCode = code == DL_CODE_SUCCESS ? 0 : 1;
            session.ended.notify_all();
        }
    };
    auto downloader = CreateDownloader(static_cast<int>(type), callback, Utils::ToWide(argv[2], 65001),
                                       Utils::ToWide(argv[3], 0));
    session.downloader.store(downloader.get());
    downloader->Start();
    int exitCode = 0;
    {
        std::unique_lock lock(session.mutex);
        session.ended.wait(lock, [&] { return session.exitCode >= 0; });
        exitCode = session.exitCode;
    }
    downloader.reset();
    curl_global_cleanup();
    return exitCode;
}
