#pragma once
// Which downloader a `DownloadType` setting selects: 2 the system download
// service, 3 the multi-part downloader, anything else the single-stream one.

#include <memory>
#include <string>

#include "download/DownloadOptions.h"
#include "download/Downloader.h"

std::unique_ptr<CDownloader> CreateDownloader(int downloadType, StatusCallback statusCallback, std::wstring url,
                                              std::wstring filePath, DownloadOptions options = {});
