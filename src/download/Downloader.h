#pragma once
// The one interface every downloader offers, the callback it reports through,
// and the codes of a download run.

#include <cstdint>
#include <functional>

// code, value, text: the text is never null and is valid only during the call.
using StatusCallback = std::function<void(std::int32_t code, double value, const wchar_t* text)>;

enum DownloadCode : std::int32_t {
    DL_CODE_START = 1001,
    DL_CODE_PROGRESS = 1002,
    DL_CODE_SUCCESS = 1003,
    DL_CODE_FAIL = 1004,
    DL_CODE_RETRY = 1005,
    DL_CODE_MESSAGE = 1006,
};

class CDownloader {
public:
    virtual ~CDownloader() = default;
    // Begins (or begins again) a run on a worker thread and returns at once. The
    // run reports 1001, progress, and ends with exactly one of 1003, 1004, 1005.
    virtual void Start() = 0;
};
