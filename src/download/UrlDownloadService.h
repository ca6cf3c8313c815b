#pragma once
// The system's "download this address to that file" service, in the shape the
// installer was written against: one blocking call, a bind-status callback that
// sees the progress and can abort, and HRESULT-style results. Here it runs on
// libcurl; the file appears at the target path only when the download is whole.

#include <cstdint>
#include <string>

namespace url_download {

using HResult = std::int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001);
inline constexpr HResult kAbort = static_cast<HResult>(0x80004004);
inline constexpr HResult kAccessDenied = static_cast<HResult>(0x80070005);
inline constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000E);
inline constexpr HResult kInvalidUrl = static_cast<HResult>(0x800C0002);
inline constexpr HResult kNoSession = static_cast<HResult>(0x800C0003);
inline constexpr HResult kCannotConnect = static_cast<HResult>(0x800C0004);
inline constexpr HResult kResourceNotFound = static_cast<HResult>(0x800C0005);
inline constexpr HResult kDownloadFailure = static_cast<HResult>(0x800C0008);
inline constexpr HResult kUnknownProtocol = static_cast<HResult>(0x800C000D);
inline constexpr HResult kRedirectFailed = static_cast<HResult>(0x800C0014);

// Status codes passed to OnProgress.
inline constexpr std::uint32_t kBeginDownloadData = 4;
inline constexpr std::uint32_t kDownloadingData = 5;
inline constexpr std::uint32_t kEndDownloadData = 6;

struct BindInfo {
    std::uint32_t codePage = 0;
};

class IBindStatusCallback {
public:
    virtual ~IBindStatusCallback() = default;
    virtual HResult OnStartBinding(void* binding) = 0;
    // Sizes are 64-bit so that progress stays right beyond 4 GiB. Returning
    // anything but kOk aborts the download with kAbort.
    virtual HResult OnProgress(std::uint64_t progress, std::uint64_t progressMax, std::uint32_t statusCode,
                               const wchar_t* statusText) = 0;
    virtual HResult OnStopBinding(HResult result, const wchar_t* error) = 0;
    virtual HResult GetBindInfo(std::uint32_t* flags, BindInfo* info) = 0;
};

inline bool Succeeded(HResult result) { return result >= 0; }

// Downloads `url` into `path`, calling `callback` (may be null) on this thread.
HResult URLDownloadToFile(const std::wstring& url, const std::wstring& path, IBindStatusCallback* callback);

// The HRESULT for a libcurl result and the final HTTP status.
HResult FromCurlResult(int curlResult, long httpStatus);

}  // namespace url_download
