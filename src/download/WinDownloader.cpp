#include "download/WinDownloader.h"

#include <filesystem>

#include "utils/Log.h"
#include "utils/Text.h"

using namespace url_download;

CWinDownloader::CBindCallback::~CBindCallback() { m_abort.store(true); }

void CWinDownloader::CBindCallback::SetStatusCallback(StatusCallback statusCallback) {
    m_statusCallback = std::move(statusCallback);
}

HResult CWinDownloader::CBindCallback::OnStartBinding(void* binding) {
    m_binding = binding;
    return kNotImplemented;
}

HResult CWinDownloader::CBindCallback::OnProgress(std::uint64_t progress, std::uint64_t progressMax,
                                                  std::uint32_t, const wchar_t*) {
    if (m_abort.load()) return kAbort;
    if (progressMax == 0) return kOk;
    if (m_statusCallback)
        m_statusCallback(DL_CODE_PROGRESS, static_cast<double>(progress) / static_cast<double>(progressMax), L"");
    return kOk;
}

HResult CWinDownloader::CBindCallback::OnStopBinding(HResult, const wchar_t*) { return kNotImplemented; }

HResult CWinDownloader::CBindCallback::GetBindInfo(std::uint32_t*, BindInfo* info) {
    if (info) info->codePage = 65001;
    return kNotImplemented;
}

CWinDownloader::CWinDownloader(StatusCallback statusCallback, std::wstring url, std::wstring filePath,
                               DownloadOptions options)
    : m_statusCallback(std::move(statusCallback)),
      m_filePath(std::move(filePath)),
      m_url(std::move(url)),
      m_options(std::move(options)),
      m_worker(this, L"ABDEF", [](void* self) { static_cast<CWinDownloader*>(self)->dlThreadFun(); }) {}

CWinDownloader::~CWinDownloader() {
    m_bindCallback.Abort();
    m_stop.Raise();
    // A worker that was never resumed is let go without running.
    m_worker.Join();
}

void CWinDownloader::Start() {
    std::lock_guard lock(m_startMutex);
    if (m_started || !m_worker.IsValid()) return;
    m_started = true;
    m_bindCallback.SetStatusCallback(m_statusCallback);
    m_worker.Resume();
}

void CWinDownloader::Report(std::int32_t code, double value, const wchar_t* text) {
    if (!m_stop.Raised() && m_statusCallback) m_statusCallback(code, value, text);
}

std::wstring CWinDownloader::DownloadUrl(const std::wstring& url) {
    return url.rfind(L"file:///", 0) == 0 ? url : Utils::UrlEncode(url);
}

void CWinDownloader::dlThreadFun() {
    Report(DL_CODE_START, 1.0, L"");
    if (m_filePath.empty()) {
        Report(DL_CODE_FAIL, 1.0, L"");
        return;
    }
    const std::wstring url = DownloadUrl(m_url);
    HResult result = kOk;
    for (int attempt = 0; attempt < 3; ++attempt) {
        result = URLDownloadToFile(url, m_filePath, &m_bindCallback);
        if (result == kOk) {
            Report(DL_CODE_SUCCESS, 0.0, L"URLDownloadToFile");
            return;
        }
        Utils::Log(L"CWinDownloader::dlThreadFun", __LINE__, L"URLDownloadToFile hr=0x%08X",
                   static_cast<unsigned int>(result));
        if (!m_stop.Pause(m_options.systemRetryPause)) return;
    }
    Report(DL_CODE_FAIL, static_cast<double>(result), L"URLDownloadToFile");
}
