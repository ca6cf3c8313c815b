#pragma once
// The default downloader: one libcurl connection through CurlClient, retries
// within a budget, and a check of the finished file against the MD5 carried in
// the final address's folder name.

#include <string>

#include "download/CurlClient.h"
#include "download/DownloadOptions.h"
#include "download/Downloader.h"
#include "download/RestartableWorker.h"
#include "download/StopSignal.h"

class CCurlDownloader final : public CDownloader {
public:
    CCurlDownloader(StatusCallback statusCallback, std::wstring url, std::wstring filePath,
                    DownloadOptions options = {});
    ~CCurlDownloader() override;

    void Start() override;

private:
    static void ProgressRelay(void* owner, double speed, double reserved, double percent);
    void dlThreadFun();
    void CheckDigest();
    void Report(std::int32_t code, double value, const wchar_t* text);

    StatusCallback m_statusCallback;
    std::wstring m_filePath;
    std::wstring m_url;
    CurlClient m_client;
    DownloadOptions m_options;
    bool m_retried = false;
    StopSignal m_stop;
    RestartableWorker m_worker;
};
