#include "download/UrlDownloadService.h"

#include <curl/curl.h>

#include <cstdio>

#include "download/CurlCommon.h"
#include "utils/Text.h"

namespace url_download {

namespace {

struct Transfer {
    CURL* handle = nullptr;
    FILE* file = nullptr;
    IBindStatusCallback* callback = nullptr;
    std::int64_t reported = -1;
    bool began = false;
};

size_t WriteBlock(char* data, size_t size, size_t count, void* transfer) {
    return std::fwrite(data, size, count, static_cast<Transfer*>(transfer)->file) * size;
}

int Progress(void* data, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto* transfer = static_cast<Transfer*>(data);
    if (!transfer->callback || dlnow == transfer->reported) return 0;
    // The bodies of redirect answers are not the download's progress.
    long httpStatus = 0;
    curl_easy_getinfo(transfer->handle, CURLINFO_RESPONSE_CODE, &httpStatus);
    if (httpStatus >= 300 && httpStatus < 400) return 0;
    transfer->reported = dlnow;
    const std::uint32_t status = transfer->began ? kDownloadingData : kBeginDownloadData;
    transfer->began = true;
    const HResult answer = transfer->callback->OnProgress(static_cast<std::uint64_t>(dlnow),
                                                          static_cast<std::uint64_t>(dltotal > 0 ? dltotal : 0),
                                                          status, L"");
    return answer == kOk ? 0 : 1;
}

HResult Perform(const std::string& url, FILE* file, IBindStatusCallback* callback) {
    CURL* handle = curl_easy_init();
    if (!handle) return kOutOfMemory;
    Transfer transfer{handle, file, callback};
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, curl_common::kMaxRedirects);
    curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, curl_common::kConnectTimeoutSeconds);
    // A stalled server would otherwise hold the call for ever.
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, 30L);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &WriteBlock);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &Progress);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    const CURLcode rc = curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(handle);
    if (rc == CURLE_OK && callback && transfer.reported >= 0)
        callback->OnProgress(static_cast<std::uint64_t>(transfer.reported),
                             static_cast<std::uint64_t>(transfer.reported), kEndDownloadData, L"");
    return FromCurlResult(rc, status);
}

}  // namespace

HResult FromCurlResult(int curlResult, long httpStatus) {
    switch (curlResult) {
        case CURLE_OK:
            return kOk;
        case CURLE_ABORTED_BY_CALLBACK:
            return kAbort;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return kUnknownProtocol;
        case CURLE_URL_MALFORMAT:
            return kInvalidUrl;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return kNoSession;
        case CURLE_COULDNT_CONNECT:
            return kCannotConnect;
        case CURLE_TOO_MANY_REDIRECTS:
            return kRedirectFailed;
        case CURLE_WRITE_ERROR:
            return kAccessDenied;
        case CURLE_FILE_COULDNT_READ_FILE:
            return kResourceNotFound;
        case CURLE_OUT_OF_MEMORY:
            return kOutOfMemory;
        case CURLE_HTTP_RETURNED_ERROR:
            return httpStatus == 404 || httpStatus == 410 ? kResourceNotFound : kDownloadFailure;
        default:
            return kDownloadFailure;
    }
}

HResult URLDownloadToFile(const std::wstring& url, const std::wstring& path, IBindStatusCallback* callback) {
    if (callback) {
        std::uint32_t flags = 0;
        BindInfo info;
        callback->GetBindInfo(&flags, &info);
        callback->OnStartBinding(nullptr);
    }
    const std::string target = Utils::ToNarrow(path, 0);
    // The body goes to a sibling first, so a broken download never sits at the
    // target path looking like a finished one.
    const std::string pending = target + ".download";
    FILE* file = std::fopen(pending.c_str(), "wb");
    HResult result = kAccessDenied;
    if (file) {
        result = Perform(curl_common::NarrowUrl(url), file, callback);
        if (std::fclose(file) != 0 && result == kOk) result = kAccessDenied;
        if (result == kOk && std::rename(pending.c_str(), target.c_str()) != 0) result = kAccessDenied;
        if (result != kOk) std::remove(pending.c_str());
    }
    if (callback) callback->OnStopBinding(result, L"");
    return result;
}

}  // namespace url_download
