#pragma once
// The downloader that hands the whole transfer to the system's URL download
// service and follows it through a bind-status callback.

#include <atomic>
#include <mutex>
#include <string>

#include "download/DownloadOptions.h"
#include "download/Downloader.h"
#include "download/StopSignal.h"
#include "download/UrlDownloadService.h"
#include "utils/Thread.h"

class CWinDownloader final : public CDownloader {
public:
    class CBindCallback final : public url_download::IBindStatusCallback {
    public:
        ~CBindCallback() override;
        void SetStatusCallback(StatusCallback statusCallback);
        void Abort() { m_abort.store(true); }

        url_download::HResult OnStartBinding(void* binding) override;
        url_download::HResult OnProgress(std::uint64_t progress, std::uint64_t progressMax, std::uint32_t statusCode,
                                         const wchar_t* statusText) override;
        url_download::HResult OnStopBinding(url_download::HResult result, const wchar_t* error) override;
        url_download::HResult GetBindInfo(std::uint32_t* flags, url_download::BindInfo* info) override;

    private:
        StatusCallback m_statusCallback;
        std::atomic<bool> m_abort{false};
        void* m_binding = nullptr;
    };

    CWinDownloader(StatusCallback statusCallback, std::wstring url, std::wstring filePath,
                   DownloadOptions options = {});
    ~CWinDownloader() override;

    // Runs once per object; later starts have no effect.
    void Start() override;

    // The address handed to the service: "file:///" addresses as given, any other
    // percent-encoded over its UTF-8 bytes.
    static std::wstring DownloadUrl(const std::wstring& url);

private:
    void dlThreadFun();
    void Report(std::int32_t code, double value, const wchar_t* text);

    CBindCallback m_bindCallback;
    StatusCallback m_statusCallback;
    std::wstring m_filePath;
    std::wstring m_url;
    DownloadOptions m_options;
    StopSignal m_stop;
    std::mutex m_startMutex;
    bool m_started = false;
    // Created suspended with the object; the first start resumes it.
    Utils::Thread m_worker;
};
