#include "download/MTCurlDownloader.h"

#include <curl/curl.h>

#include <algorithm>
#include <filesystem>
#include <thread>

#include "download/CurlCommon.h"
#include "download/RetryBudget.h"
#include "utils/Log.h"
#include "utils/Files.h"
#include "utils/Text.h"

namespace {

using namespace curl_common;

std::int64_t ExistingSize(const std::string& path) {
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::int64_t>(size);
}

// Appends the whole of `from` to `to` in large blocks, feeding the digest on the way.
bool AppendFile(FILE* to, const std::string& from, BackgroundMd5* digest) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in) return false;
    std::vector<char> block(1 << 20);
    bool ok = true;
    for (size_t n; (n = std::fread(block.data(), 1, block.size(), in)) > 0;) {
        if (digest) digest->Update(block.data(), n);
        if (std::fwrite(block.data(), 1, n, to) != n) {
            ok = false;
            break;
        }
    }
    ok = ok && !std::ferror(in);
    std::fclose(in);
    return ok;
}

}  // namespace

CMTCurlDownloader::DownloadPartNode::~DownloadPartNode() {
    CloseFile();
    if (handle) curl_easy_cleanup(handle);
}

void CMTCurlDownloader::DownloadPartNode::CloseFile() {
    if (file) std::fclose(file);
    file = nullptr;
}

std::vector<std::int64_t> CMTCurlDownloader::PartSizes(std::int64_t totalLength) {
    const std::int64_t count = std::clamp<std::int64_t>(totalLength / kPartUnit, 1, kMaxParts);
    std::vector<std::int64_t> sizes(static_cast<size_t>(count), totalLength / count);
    sizes.back() += totalLength % count;
    return sizes;
}

CMTCurlDownloader::CMTCurlDownloader(StatusCallback statusCallback, std::wstring url, std::wstring filePath,
                                     DownloadOptions options)
    : m_statusCallback(std::move(statusCallback)),
      m_filePath(std::move(filePath)),
      m_url(std::move(url)),
      m_narrowPath(Utils::ToNarrow(m_filePath, 0)),
      m_options(std::move(options)),
      m_worker([this] { Start_Down(); }) {
    std::remove(m_narrowPath.c_str());
    DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
    m_stop.Raise();
    m_worker.StopRepeating();
    m_worker.Join();
}

void CMTCurlDownloader::Start() { m_worker.Start(); }

void CMTCurlDownloader::Report(std::int32_t code, double value, const wchar_t* text) {
    if (!m_stop.Raised() && m_statusCallback) m_statusCallback(code, value, text);
}

std::string CMTCurlDownloader::PartPath(int index) const { return m_narrowPath + "_" + std::to_string(index); }

void CMTCurlDownloader::DeletePartFiles() const {
    for (int i = 0; i < kMaxParts; ++i) std::remove(PartPath(i).c_str());
}

void CMTCurlDownloader::SetLastPercent(double percent) {
    std::lock_guard lock(m_lock);
    m_lastPercent = percent;
}

double CMTCurlDownloader::LastPercent() {
    std::lock_guard lock(m_lock);
    return m_lastPercent;
}

void CMTCurlDownloader::Start_Down() {
    Report(DL_CODE_START, 1.0, L"");
    Utils::Log(L"CMTCurlDownloader::Start_Down", __LINE__, L"start download");
    std::remove(m_narrowPath.c_str());
    // Parts of a run that never showed progress are not worth resuming.
    if (LastPercent() == 0.0) DeletePartFiles();
    if (m_realUrl.empty() || m_totalLength < kMinimumLength) {
        if (!getRealDownloadUrl(NarrowUrl(m_url))) {
            Report(DL_CODE_FAIL, 0.0, L"LibCurl");
            return;
        }
    }
    BuildParts();
    RunParts();
    waitForFinishThreadFun();
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& url) {
    m_realUrl.clear();
    m_expectedMd5.clear();
    m_totalLength = 0;
    if (!m_options.curlUsable) return false;
    CURL* handle = curl_easy_init();
    if (!handle) return false;
    curl_slist* headers = curl_slist_append(nullptr, "Connection: keep-alive");
    int rc = curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers);
    rc |= curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    rc |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    rc |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    rc |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    rc |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &AbortWhenStopped);
    rc |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, m_stop.Flag());
    if (rc == CURLE_OK) rc = curl_easy_perform(handle);
    if (rc == CURLE_OK) {
        char* effective = nullptr;
        if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK && effective && *effective) {
            m_realUrl = effective;
            Utils::Log(L"CMTCurlDownloader::getRealDownloadUrl", __LINE__, L"Download File real url %s",
                       Utils::ToWide(m_realUrl, 65001).c_str());
            m_expectedMd5 = ExpectedMd5(m_realUrl);
        }
        curl_off_t length = -1;
        long code = 0;
        if (curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
            curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code >= 200 && code <= 399) {
            m_totalLength = length;
            Utils::Log(L"CMTCurlDownloader::getRealDownloadUrl", __LINE__, L"Download File Length %lld",
                       static_cast<long long>(m_totalLength));
        }
    }
    curl_easy_cleanup(handle);
    curl_slist_free_all(headers);
    return rc == CURLE_OK && !m_realUrl.empty() && m_totalLength >= kMinimumLength;
}

void CMTCurlDownloader::BuildParts() {
    std::int64_t base = 0;
    int index = 0;
    for (std::int64_t size : PartSizes(m_totalLength)) {
        auto node = std::make_unique<DownloadPartNode>();
        node->partPath = PartPath(index);
        const std::int64_t existing = ExistingSize(node->partPath);
        node->first = base;
        node->next = base + existing;
        node->last = base + size - 1;
        node->received.store(existing);
        node->handle = curl_easy_init();
        node->realUrl = m_realUrl;
        // Only an address that names a digest gets one computed on the way.
        if (index == 0 && !m_expectedMd5.empty()) {
            node->digest = std::make_unique<BackgroundMd5>();
            if (existing > 0) node->digest->UpdateFromFile(node->partPath, static_cast<std::uint64_t>(existing));
        }
        if (node->last < node->next) {
            node->status = 0;
        } else {
            node->file = std::fopen(node->partPath.c_str(), "ab+");
            node->status = node->file && node->handle ? -1 : -2;
        }
        m_parts.push_back(std::move(node));
        base += size;
        ++index;
    }
}

void CMTCurlDownloader::RunParts() {
    std::vector<std::thread> threads;
    for (auto& node : m_parts) {
        if (node->status != -1) continue;
        // Staggered starts keep the two connections from opening at the same instant.
        if (!threads.empty() && !m_stop.Pause(m_options.partStagger)) break;
        DownloadPartNode* part = node.get();
        threads.emplace_back([this, part] { downloadThreadFun(*part); });
    }
    for (std::thread& thread : threads) thread.join();
}

void CMTCurlDownloader::downloadThreadFun(DownloadPartNode& node) {
    retry_budget::RetryPart([this, &node] { return downloadExe(node); },
                            [this](int failed) {
                                Utils::Log(L"CMTCurlDownloader::downloadThreadFun", __LINE__,
                                           L"CurlDownLoader Code=%d", failed);
                                return m_stop.Pause(m_options.partRetryPause);
                            });
    node.CloseFile();
}

int CMTCurlDownloader::downloadExe(DownloadPartNode& node) {
    const std::string range = std::to_string(node.next) + "-" + std::to_string(node.last);
    CURL* handle = node.handle;
    int rc = curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_URL, node.realUrl.c_str());
    rc |= curl_easy_setopt(handle, CURLOPT_TIMEOUT, 0L);
    rc |= curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
    rc |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &CMTCurlDownloader::WritePart);
    rc |= curl_easy_setopt(handle, CURLOPT_WRITEDATA, &node);
    rc |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    rc |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::SharedProgress);
    rc |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, this);
    rc |= curl_easy_setopt(handle, CURLOPT_FAILONERROR, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // TLS verification stays at libcurl's default (on): the package runs with the user's rights.
    rc |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    rc |= curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, 5L);
    rc |= curl_easy_setopt(handle, CURLOPT_RANGE, range.c_str());
    if (rc != CURLE_OK) return node.status = rc;
    node.streamPos = -1;
    rc = curl_easy_perform(handle);
    // The write function cuts the response off itself once the part is whole,
    // for instance when the server sent more than the range.
    if (rc == CURLE_WRITE_ERROR && node.next > node.last) rc = CURLE_OK;
    // A response that ended early without an error still leaves the part short.
    if (rc == CURLE_OK && node.next <= node.last) rc = CURLE_PARTIAL_FILE;
    if (rc != CURLE_OK)
        Utils::Log(L"CMTCurlDownloader::downloadExe", __LINE__, L"error:%d:%s", rc, ErrorText(rc).c_str());
    curl_easy_reset(handle);
    if (rc == CURLE_OK) node.CloseFile();
    return node.status = rc;
}

size_t CMTCurlDownloader::WritePart(char* data, size_t size, size_t count, void* userdata) {
    auto* node = static_cast<DownloadPartNode*>(userdata);
    const size_t bytes = size * count;
    if (!node || !node->file) return 0;
    if (node->streamPos < 0) {
        long code = 0;
        curl_easy_getinfo(node->handle, CURLINFO_RESPONSE_CODE, &code);
        node->streamPos = code == 206 ? node->next : 0;
    }
    // Bytes before the part's next one (a server that ignored the range) are skipped.
    const auto skip = static_cast<size_t>(std::clamp<std::int64_t>(node->next - node->streamPos, 0,
                                                                   static_cast<std::int64_t>(bytes)));
    node->streamPos += static_cast<std::int64_t>(skip);
    if (skip == bytes) return bytes;
    if (node->next > node->last) return skip;
    const auto room = static_cast<size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(bytes - skip),
                                                                 node->last - node->next + 1));
    const size_t written = std::fwrite(data + skip, 1, room, node->file);
    if (node->digest) node->digest->Update(data + skip, written);
    node->next += static_cast<std::int64_t>(written);
    node->streamPos += static_cast<std::int64_t>(written);
    node->received.fetch_add(static_cast<std::int64_t>(written));
    return skip + written;
}

int CMTCurlDownloader::SharedProgress(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t) {
    auto* downloader = static_cast<CMTCurlDownloader*>(self);
    if (downloader->m_stop.Raised()) return 1;
    double report = -1.0;
    {
        std::lock_guard lock(downloader->m_lock);
        const std::int64_t now = CalendarSeconds(downloader->m_options);
        if (now == downloader->m_lastProgressTime) return 0;
        downloader->m_lastProgressTime = now;
        double sum = 0.0;
        if (downloader->m_totalLength >= kMinimumLength)
            for (const auto& node : downloader->m_parts)
                if (const std::int64_t received = node->received.load(); received > 0)
                    sum += static_cast<double>(received) * 100.0 / static_cast<double>(downloader->m_totalLength);
        if (sum > 100.0) return 0;
        if (sum - downloader->m_lastPercent >= 1.0) {
            downloader->m_lastPercent = sum;
            report = sum / 100.0;
        }
    }
    if (report >= 0.0) downloader->Report(DL_CODE_PROGRESS, report, L"");
    return 0;
}

void CMTCurlDownloader::waitForFinishThreadFun() {
    int error = 0;
    for (const auto& node : m_parts)
        if (node->status != 0) {
            error = node->status;
            break;
        }
    if (error == 0)
        FinishComplete();
    else
        FinishFailed(error);
}

bool CMTCurlDownloader::JoinParts(BackgroundMd5* digest) {
    // Every part file must hold exactly its range, or the joined file is not the package.
    for (const auto& node : m_parts)
        if (ExistingSize(node->partPath) != node->last - node->first + 1) return false;
    FILE* first = std::fopen(PartPath(0).c_str(), "ab+");
    if (!first) return false;
    bool ok = true;
    for (size_t i = 1; i < m_parts.size() && ok; ++i) {
        ok = AppendFile(first, m_parts[i]->partPath, digest);
        Utils::Log(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__, L"partPath::%s",
                   Utils::ToWide(m_parts[i]->partPath, 0).c_str());
    }
    ok = std::fclose(first) == 0 && ok;
    return ok;
}

// The digest streamed while the parts were written and joined, or, when that
// was not possible, one read of the finished file.
std::string CMTCurlDownloader::TargetMd5() {
    BackgroundMd5* digest = m_parts.empty() ? nullptr : m_parts.front()->digest.get();
    std::string actual = digest ? digest->Finish() : std::string();
    return actual.empty() ? Utils::FileMd5(m_narrowPath) : actual;
}

void CMTCurlDownloader::FinishComplete() {
    SetLastPercent(0.0);
    BackgroundMd5* digest = m_parts.empty() ? nullptr : m_parts.front()->digest.get();
    if (!JoinParts(digest)) {
        // A half-joined first part cannot be resumed; the retry starts over.
        FinishFailed(CURLE_WRITE_ERROR);
        return;
    }
    if (std::rename(PartPath(0).c_str(), m_narrowPath.c_str()) != 0) {
        FinishFailed(CURLE_WRITE_ERROR);
        return;
    }
    DeletePartFiles();
    if (!m_expectedMd5.empty()) {
        const std::string actual = TargetMd5();
        if (actual.size() == 32 && actual != m_expectedMd5) {
            Report(DL_CODE_MESSAGE, 0.0, L"mtcurl文件md5校验失败");
            std::remove(m_narrowPath.c_str());
            ReleaseNodes();
            if (!m_retried) {
                m_retried = true;
                Utils::Log(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__,
                           L"finish recv, md5 chaek failed retry once.");
                Report(DL_CODE_RETRY, 0.0, L"LibCurl");
            } else {
                Utils::Log(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__,
                           L"finish recv, md5 chaek failed and retry failed.");
                Report(DL_CODE_FAIL, 0.0, L"LibCurl");
            }
            return;
        }
    } else {
        Report(DL_CODE_MESSAGE, 0.0, L"mtcurl获取url-md5失败");
    }
    Utils::Log(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__, L"finish recv");
    ReleaseNodes();
    Report(DL_CODE_SUCCESS, 0.0, L"LibCurl");
}

void CMTCurlDownloader::FinishFailed(int error) {
    ReleaseNodes();
    if (LastPercent() == 0.0) DeletePartFiles();
    if (!m_retried) {
        m_retried = true;
        Report(DL_CODE_RETRY, static_cast<double>(error), L"LibCurl");
    } else {
        SetLastPercent(0.0);
        Report(DL_CODE_FAIL, static_cast<double>(error), L"LibCurl");
    }
}

void CMTCurlDownloader::ReleaseNodes() { m_parts.clear(); }
