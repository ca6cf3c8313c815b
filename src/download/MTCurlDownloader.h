#pragma once
// The multi-part downloader: up to two byte ranges over parallel libcurl
// connections, each into a part file of its own that a later run resumes; the
// parts are joined and checked against the MD5 in the final address.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/DownloadOptions.h"
#include "download/Downloader.h"
#include "download/RestartableWorker.h"
#include "download/StopSignal.h"
#include "download/BackgroundMd5.h"

typedef void CURL;

class CMTCurlDownloader final : public CDownloader {
public:
    static constexpr std::int64_t kPartUnit = 10485760;  // below two of these: one part
    static constexpr int kMaxParts = 2;
    static constexpr std::int64_t kMinimumLength = 256;

    struct DownloadPartNode {
        DownloadPartNode() = default;
        ~DownloadPartNode();
        DownloadPartNode(const DownloadPartNode&) = delete;
        DownloadPartNode& operator=(const DownloadPartNode&) = delete;
        void CloseFile();

        FILE* file = nullptr;
        std::int64_t first = 0; // position in the resource of the part's first byte
        std::int64_t next = 0;  // position in the resource of the next byte this part needs
        std::int64_t last = 0;  // position of the part's last byte
        CURL* handle = nullptr;
        std::string realUrl;
        std::string partPath;
        int status = -1;  // -1 to download, 0 complete, -2 no part file, else the last libcurl result
        std::atomic<std::int64_t> received{0};
        // Position in the resource of the next byte the current response carries;
        // -1 until its status is known. A server that ignores the range starts at 0.
        std::int64_t streamPos = -1;
        // The first part's digest grows as it is written; the join adds the rest.
        std::unique_ptr<BackgroundMd5> digest;
    };

    // Sizes of the parts of a resource of `totalLength` bytes, in order.
    static std::vector<std::int64_t> PartSizes(std::int64_t totalLength);

    CMTCurlDownloader(StatusCallback statusCallback, std::wstring url, std::wstring filePath,
                      DownloadOptions options = {});
    ~CMTCurlDownloader() override;

    void Start() override;

private:
    void Start_Down();
    bool getRealDownloadUrl(const std::string& url);
    void BuildParts();
    void RunParts();
    int downloadExe(DownloadPartNode& node);
    void downloadThreadFun(DownloadPartNode& node);
    void waitForFinishThreadFun();
    void FinishComplete();
    void FinishFailed(int error);
    bool JoinParts(BackgroundMd5* digest);
    std::string TargetMd5();
    void ReleaseNodes();
    void DeletePartFiles() const;
    std::string PartPath(int index) const;
    void SetLastPercent(double percent);
    double LastPercent();

    static size_t WritePart(char* data, size_t size, size_t count, void* node);
    static int SharedProgress(void* self, std::int64_t, std::int64_t, std::int64_t, std::int64_t);
    void Report(std::int32_t code, double value, const wchar_t* text);

    std::vector<std::unique_ptr<DownloadPartNode>> m_parts;
    StatusCallback m_statusCallback;
    std::wstring m_filePath;
    std::wstring m_url;
    std::string m_narrowPath;
    std::string m_realUrl;
    std::int64_t m_totalLength = -1;
    std::string m_expectedMd5;
    double m_lastPercent = 0.0;
    std::mutex m_lock;  // guards the last percent and the last progress time
    std::int64_t m_lastProgressTime = 0;
    bool m_retried = false;
    DownloadOptions m_options;
    StopSignal m_stop;
    RestartableWorker m_worker;
};
