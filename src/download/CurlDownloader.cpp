#include "download/CurlDownloader.h"

#include <cstdio>

#include "download/CurlCommon.h"
#include "download/RetryBudget.h"
#include "utils/Log.h"
#include "utils/Files.h"
#include "utils/Text.h"

CCurlDownloader::CCurlDownloader(StatusCallback statusCallback, std::wstring url, std::wstring filePath,
                                 DownloadOptions options)
    : m_statusCallback(std::move(statusCallback)),
      m_filePath(std::move(filePath)),
      m_url(std::move(url)),
      m_client(m_url, m_filePath, this, &CCurlDownloader::ProgressRelay),
      m_options(std::move(options)),
      m_worker([this] { dlThreadFun(); }) {
    if (m_options.now) m_client.SetClock(m_options.now);
    // Every downloader object begins its first run from zero.
    std::remove(Utils::ToNarrow(m_client.GetFilePath(true), 0).c_str());
}

CCurlDownloader::~CCurlDownloader() {
    m_stop.Raise();
    m_client.RequestStop();
    m_worker.StopRepeating();
    m_worker.Join();
}

void CCurlDownloader::Start() { m_worker.Start(); }

void CCurlDownloader::ProgressRelay(void* owner, double speed, double, double percent) {
    if (speed > 0.0 && percent <= 100.0)
        static_cast<CCurlDownloader*>(owner)->Report(DL_CODE_PROGRESS, percent / 100.0, L"");
}

void CCurlDownloader::Report(std::int32_t code, double value, const wchar_t* text) {
    if (!m_stop.Raised() && m_statusCallback) m_statusCallback(code, value, text);
}

void CCurlDownloader::dlThreadFun() {
    Report(DL_CODE_START, 1.0, L"");
    // Without a target there is nothing to download into; this run ends here.
    if (m_filePath.empty()) {
        Report(DL_CODE_FAIL, 1.0, L"");
        return;
    }
    const int result = retry_budget::RetrySingleStream([this] { return m_client.Start(); },
                                                       [this](int failed) {
                                                           Utils::Log(L"CCurlDownloader::dlThreadFun", __LINE__,
                                                                      L"CurlDownLoader Code=%d", failed);
                                                           return m_stop.Pause(m_options.retryPause);
                                                       });
    if (result != 0) {
        Report(DL_CODE_FAIL, static_cast<double>(result), L"LibCurl");
        return;
    }
    CheckDigest();
}

void CCurlDownloader::CheckDigest() {
    const std::string expected = curl_common::ExpectedMd5(m_client.RealUrl());
    if (expected.empty()) {
        Report(DL_CODE_MESSAGE, 0.0, L"curl获取url-md5失败");
        Report(DL_CODE_SUCCESS, 0.0, L"LibCurl");
        return;
    }
    const std::string target = Utils::ToNarrow(m_filePath, 0);
    std::string actual = m_client.StreamedMd5();
    if (actual.empty()) actual = Utils::FileMd5(target);
    if (actual.size() == 32 && actual != expected) {
        Report(DL_CODE_MESSAGE, 0.0, L"curl文件md5校验失败");
        // The bytes are not the package; nobody may take them for it.
        std::remove(target.c_str());
        if (!m_retried) {
            m_retried = true;
            Report(DL_CODE_RETRY, 0.0, L"LibCurl");
        } else {
            Report(DL_CODE_FAIL, 0.0, L"LibCurl");
        }
        return;
    }
    Report(DL_CODE_SUCCESS, 0.0, L"LibCurl");
}
