#include "download/CurlClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "download/BackgroundMd5.h"
#include "download/CurlCommon.h"
#include "download/FailureReason.h"
#include "utils/Log.h"
#include "utils/Text.h"

namespace {

using namespace curl_common;

// Bigger blocks than libcurl's default halve the calls and writes per megabyte.
constexpr long kReceiveBufferBytes = 256 * 1024;

std::int64_t FileSize(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

bool IsGoodStatus(long code) { return code >= 200 && code <= 399; }

}  // namespace

CurlClient::CurlClient(std::wstring url, std::wstring filePath, void* owner, ProgressSink progressSink)
    : m_url(std::move(url)), m_filePath(std::move(filePath)), m_owner(owner), m_progressSink(progressSink) {}

CurlClient::~CurlClient() {
    std::remove(Utils::ToNarrow(GetFilePath(true), 0).c_str());
    m_stopRequested.store(true);
}

int CurlClient::Start() {
    Utils::Log(L"CurlClient::Start", __LINE__, L"start download");
    m_streamedMd5.clear();
    const std::string sidePath = Utils::ToNarrow(GetFilePath(true), 0);
    const std::string targetPath = Utils::ToNarrow(m_filePath, 0);
    Resolve(NarrowUrl(m_url));
    int result = m_totalLength < kMinimumLength ? kLengthRefused : Transfer(sidePath);
    Utils::Log(L"CurlClient::Start", __LINE__, L"error:%d:%s", result, ErrorText(result).c_str());
    if (result == 0) {
        std::remove(targetPath.c_str());
        // A complete file that cannot take the target's place is no success.
        if (std::rename(sidePath.c_str(), targetPath.c_str()) != 0) result = CURLE_WRITE_ERROR;
    }
    Utils::Log(L"CurlClient::Start", __LINE__, L"end download");
    return result;
}

// Learns the final address and the length; both are kept, so a repeated start
// after a failed transfer goes straight to the GET.
void CurlClient::Resolve(const std::string& narrowUrl) {
    if (m_realUrl.empty() || m_totalLength < kMinimumLength) {
        CURL* head = Head(narrowUrl);
        m_realUrl = GetRealUrl(head);
        m_totalLength = GetDownloadFileLength(head);
        curl_easy_cleanup(head);
    }
    if (m_realUrl.empty() || m_totalLength < kMinimumLength) {
        m_realUrl = GetRealUrl_Str(narrowUrl);
        if (!m_realUrl.empty()) m_totalLength = GetDownloadFileLength_Str(m_realUrl);
    }
}

// Writes the received block straight into the side file and into the digest.
size_t CurlClient::WriteToFile(char* data, size_t size, size_t count, void* client) {
    auto* self = static_cast<CurlClient*>(client);
    const size_t written = std::fwrite(data, 1, size * count, self->m_file);
    if (self->m_digest) self->m_digest->Update(data, written);
    return written;
}

int CurlClient::Transfer(const std::string& sidePath) {
    m_handle = curl_easy_init();
    if (!m_handle) return kNoHandle;
    FILE* file = std::fopen(sidePath.c_str(), "ab+");
    if (!file) {
        curl_easy_cleanup(m_handle);
        m_handle = nullptr;
        return kSideFileError;
    }
    curl_slist* headers = curl_slist_append(nullptr, "Connection: keep-alive");
    headers = curl_slist_append(headers, "Accept-Encoding: gzip, deflate");
    curl_easy_setopt(m_handle, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(m_handle, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(m_handle, CURLOPT_TCP_KEEPIDLE, 10L);
    curl_easy_setopt(m_handle, CURLOPT_TCP_KEEPINTVL, 10L);
    curl_easy_setopt(m_handle, CURLOPT_TIMEOUT, 0L);
    int rc = curl_easy_setopt(m_handle, CURLOPT_URL, m_realUrl.c_str());
    rc |= curl_easy_setopt(m_handle, CURLOPT_FOLLOWLOCATION, 1L);
    rc |= curl_easy_setopt(m_handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    rc |= curl_easy_setopt(m_handle, CURLOPT_NOSIGNAL, 1L);
    rc |= curl_easy_setopt(m_handle, CURLOPT_WRITEFUNCTION, &CurlClient::WriteToFile);
    rc |= curl_easy_setopt(m_handle, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(m_handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    rc |= curl_easy_setopt(m_handle, CURLOPT_NOPROGRESS, 0L);
    rc |= curl_easy_setopt(m_handle, CURLOPT_XFERINFOFUNCTION, &CurlClient::ProgressCallback);
    rc |= curl_easy_setopt(m_handle, CURLOPT_XFERINFODATA, this);
    rc |= curl_easy_setopt(m_handle, CURLOPT_FAILONERROR, 1L);
    rc |= curl_easy_setopt(m_handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // A 64-bit size: side files of packages beyond 2 GiB resume at the right place.
    m_resumeOffset = FileSize(sidePath);
    if (m_resumeOffset > 0)
        rc |= curl_easy_setopt(m_handle, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(m_resumeOffset));
    // Only an address that names a digest gets one computed while receiving. It
    // starts with what an earlier attempt left, so that a whole file never needs
    // a second read.
    std::optional<BackgroundMd5> digest;
    if (!ExpectedMd5(m_realUrl).empty()) digest.emplace();
    if (digest && m_resumeOffset > 0) digest->UpdateFromFile(sidePath, static_cast<std::uint64_t>(m_resumeOffset));
    m_file = file;
    m_digest = digest ? &*digest : nullptr;
    if (rc == CURLE_OK) rc = curl_easy_perform(m_handle);
    curl_easy_cleanup(m_handle);
    m_handle = nullptr;
    m_file = nullptr;
    m_digest = nullptr;
    curl_slist_free_all(headers);
    if (std::fclose(file) != 0 && rc == CURLE_OK) rc = CURLE_WRITE_ERROR;
    if (rc == CURLE_OK) rc = CheckCompleteSize(sidePath);
    const std::string streamed = digest ? digest->Finish() : std::string();
    if (rc == CURLE_OK) m_streamedMd5 = streamed;
    // A server that cannot resume would fail every later attempt the same way;
    // starting the side file over lets the next attempt succeed.
    if (rc == CURLE_RANGE_ERROR) std::remove(sidePath.c_str());
    return rc;
}

// libcurl ends a transfer cleanly when the server closes a body whose length it
// never announced, or announced differently from the HEAD answer; such a file is
// not the package and must not replace the target.
int CurlClient::CheckCompleteSize(const std::string& sidePath) const {
    const std::int64_t size = FileSize(sidePath);
    const auto expected = static_cast<std::int64_t>(m_totalLength);
    if (size == expected) return CURLE_OK;
    Utils::Log(L"CurlClient::Start", __LINE__, L"size %lld differs from length %lld", static_cast<long long>(size),
               static_cast<long long>(expected));
    if (size < expected) return CURLE_PARTIAL_FILE;  // the next attempt resumes
    std::remove(sidePath.c_str());
    return CURLE_WEIRD_SERVER_REPLY;
}

int CurlClient::ProgressCallback(void* client, std::int64_t dltotal, std::int64_t dlnow, std::int64_t,
                                 std::int64_t) {
    auto* self = static_cast<CurlClient*>(client);
    if (self->m_stopRequested.load()) return 1;
    const std::int64_t now = self->m_now ? self->m_now() : static_cast<std::int64_t>(std::time(nullptr));
    // Within the same second as the last report: stay quiet.
    if (now < self->m_lastProgressTime + 1) return 0;
    self->m_lastProgressTime = now;
    curl_off_t speed = 0;
    if (self->m_handle) curl_easy_getinfo(self->m_handle, CURLINFO_SPEED_DOWNLOAD_T, &speed);
    double percent = 0.0;
    if (self->m_totalLength > kMinimumLength) {
        const auto already = static_cast<double>(std::max<std::int64_t>(self->m_resumeOffset, 0));
        percent = (static_cast<double>(dlnow) + already) / self->m_totalLength * 100.0;
    } else {
        if (dlnow <= 0 || dltotal <= 0) return 0;
        percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
    }
    if (percent == 0.0) return 0;
    if (self->m_progressSink) self->m_progressSink(self->m_owner, static_cast<double>(speed), 0.0, percent);
    if (dltotal != 0)
        Utils::Log(L"CurlClient::ProgressCallback", __LINE__, L" %dM %dM   progress:%f%%  speed:%f \n",
                   static_cast<int>(dlnow / 1048576), static_cast<int>(dltotal / 1048576),
                   static_cast<double>(static_cast<float>(percent)),
                   static_cast<double>(static_cast<float>(static_cast<double>(speed) / 1024)));
    return 0;
}

CURL* CurlClient::NewResolutionHandle(const std::string& url) const {
    CURL* handle = curl_easy_init();
    if (!handle) return nullptr;
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // Lets the destructor cut a slow resolution short.
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &AbortWhenStopped);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&m_stopRequested));
    return handle;
}

CURL* CurlClient::Head(const std::string& url) {
    CURL* handle = NewResolutionHandle(url);
    if (!handle) return nullptr;
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    CURLcode rc = curl_easy_perform(handle);
    if (rc != CURLE_OK)
        Utils::Log(L"CurlClient::Head", __LINE__, L"error:%d:%s", static_cast<int>(rc), ErrorText(rc).c_str());
    return handle;
}

std::string CurlClient::GetRealUrl(CURL* handle) {
    char* effective = nullptr;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK || !effective)
        return {};
    return effective;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
    if (!handle) return -1.0;
    curl_off_t length = -1;
    CURLcode rc = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    long code = 0;
    CURLcode codeResult = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    Utils::Log(L"CurlClient::GetDownloadFileLength", __LINE__, L"error:%d:%s", static_cast<int>(rc),
               ErrorText(rc).c_str());
    if (codeResult == CURLE_OK && IsGoodStatus(code)) return static_cast<double>(length);
    download_report::ReportFailureReason(download_report::LengthStatusReason(code));
    return -1.0;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
    CURL* handle = NewResolutionHandle(url);
    if (!handle) return url;
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    std::string effective;
    CURLcode rc = curl_easy_perform(handle);
    if (rc == CURLE_OK)
        effective = GetRealUrl(handle);
    else
        Utils::Log(L"CurlClient::GetRealUrl_Str", __LINE__, L"error:%d:%s", static_cast<int>(rc),
                   ErrorText(rc).c_str());
    curl_easy_cleanup(handle);
    return effective.empty() ? url : effective;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
    CURL* handle = NewResolutionHandle(url);
    if (!handle) return -1.0;
    curl_easy_setopt(handle, CURLOPT_HEADER, 1L);
    curl_easy_perform(handle);
    curl_off_t length = -1;
    curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    long code = 0;
    CURLcode codeResult = curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code);
    if (codeResult != CURLE_OK || !IsGoodStatus(code))
        download_report::ReportFailureReason(download_report::LengthStatusReason(code));
    Utils::Log(L"CurlClient::GetDownloadFileLength_Str", __LINE__, L"error:%d:%s", static_cast<int>(codeResult),
               ErrorText(codeResult).c_str());
    curl_easy_cleanup(handle);
    return static_cast<double>(length);
}
