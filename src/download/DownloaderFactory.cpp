#include "download/DownloaderFactory.h"

#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"
#include "download/WinDownloader.h"

std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StatusCallback statusCallback, std::wstring url,
                                              std::wstring filePath, DownloadOptions options) {
    switch (downloadType) {
        case 2:
            return std::make_unique<CWinDownloader>(std::move(statusCallback), std::move(url), std::move(filePath),
                                                    std::move(options));
        case 3:
            return std::make_unique<CMTCurlDownloader>(std::move(statusCallback), std::move(url),
                                                       std::move(filePath), std::move(options));
        default:
            return std::make_unique<CCurlDownloader>(std::move(statusCallback), std::move(url), std::move(filePath),
                                                     std::move(options));
    }
}
