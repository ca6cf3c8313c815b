#pragma once
// One resumable download of one URL into one file over libcurl's easy interface.
//
// The final address and the length come from HEAD requests; a resource whose
// length is unknown or below 1 MiB is refused. The body goes into a side file
// (the target path + ".part") opened for appending, a later call resumes from
// that file's size, and only a complete download replaces the target.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

typedef void CURL;
class BackgroundMd5;

class CurlClient final {
public:
    // (owner, speed in bytes per second, reserved 0.0, percent)
    using ProgressSink = void (*)(void* owner, double speed, double reserved, double percent);

    static constexpr int kSideFileError = -996;
    static constexpr int kNoHandle = -997;
    static constexpr int kLengthRefused = -998;
    static constexpr double kMinimumLength = 1048576.0;

    CurlClient(std::wstring url, std::wstring filePath, void* owner, ProgressSink progressSink = nullptr);
    ~CurlClient();
    CurlClient(const CurlClient&) = delete;
    CurlClient& operator=(const CurlClient&) = delete;

    // 0 when the file is complete at the target path; a libcurl result; or one of
    // the negative codes above. Runs on the calling thread.
    int Start();

    // Makes a running transfer abort (from any thread).
    void RequestStop() { m_stopRequested.store(true); }
    void SetClock(std::function<std::int64_t()> now) { m_now = std::move(now); }

    std::wstring GetFilePath(bool part) const { return part ? m_filePath + L".part" : m_filePath; }
    const std::string& RealUrl() const { return m_realUrl; }
    double TotalLength() const { return m_totalLength; }
    std::int64_t ResumeOffset() const { return m_resumeOffset; }
    // The MD5 of the file the last successful start completed, computed while it
    // was written; empty when it could not be (then the file has to be read).
    const std::string& StreamedMd5() const { return m_streamedMd5; }

    // The libcurl transfer-information callback: 1 aborts the transfer.
    static int ProgressCallback(void* client, std::int64_t dltotal, std::int64_t dlnow, std::int64_t ultotal,
                                std::int64_t ulnow);

    // Resolution requests; all URLs are narrow UTF-8.
    CURL* Head(const std::string& url);  // the caller releases the handle, also after a failure
    static std::string GetRealUrl(CURL* handle);
    static double GetDownloadFileLength(CURL* handle);
    std::string GetRealUrl_Str(const std::string& url);
    double GetDownloadFileLength_Str(const std::string& url);

private:
    static size_t WriteToFile(char* data, size_t size, size_t count, void* client);
    void Resolve(const std::string& narrowUrl);
    int Transfer(const std::string& sidePath);
    int CheckCompleteSize(const std::string& sidePath) const;
    CURL* NewResolutionHandle(const std::string& url) const;

    std::wstring m_url;
    std::wstring m_filePath;
    void* m_owner;
    CURL* m_handle = nullptr;
    ProgressSink m_progressSink;
    double m_totalLength = -1.0;
    std::int64_t m_resumeOffset = -1;
    std::int64_t m_lastProgressTime = 0;
    std::atomic<bool> m_stopRequested{false};
    std::string m_realUrl;
    std::function<std::int64_t()> m_now;
    std::FILE* m_file = nullptr;
    BackgroundMd5* m_digest = nullptr;
    std::string m_streamedMd5;
};
