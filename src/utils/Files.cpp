#include "utils/Files.h"

#include "platform/DiskSpace.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "utils/Log.h"
#include "utils/Md5.h"
#include "utils/Text.h"

#include <cstdio>
#include <memory>

namespace Utils {
namespace {

constexpr char kTempFolderName[] = "~ZeRinTemp.92482B06FB471E17";
constexpr size_t kMd5BlockBytes = 1u << 20;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool MakeFolderIfMissing(const std::string& prefix)
{
    return Platform::PathExists(prefix) || Platform::MakeDirectory(prefix) || Platform::IsDirectory(prefix);
}

}  // namespace

std::wstring GetTempFolder()
{
    std::string path = Platform::GetKnownFolder(Platform::KnownFolder::Temp) + "/" + kTempFolderName;
    if (path.size() + 1 > kMaxPathChars) return {};
    if (!Platform::EnsurePrivateDirectory(path)) return {};
    return ToWide(path + "/", CP_UTF8);
}

bool CreateDirectories(const std::wstring& path)
{
    if (path.empty() || path.size() > kMaxPathChars) return false;
    std::string narrow = ToNarrow(path, CP_UTF8);
    for (size_t slash = narrow.find('/', 1); slash != std::string::npos; slash = narrow.find('/', slash + 1)) {
        if (!MakeFolderIfMissing(narrow.substr(0, slash + 1))) return false;
    }
    if (narrow.back() != '/' && !MakeFolderIfMissing(narrow)) return false;
    return Platform::IsDirectory(narrow);
}

std::string FileMd5(const std::string& path)
{
    if (path.empty()) return {};
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rbe"));
    if (!file) return {};
    std::setvbuf(file.get(), nullptr, _IONBF, 0);  // large reads go straight to the kernel
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[kMd5BlockBytes]);
    if (!block) return {};
    Md5Stream md5;
    for (;;) {
        size_t n = std::fread(block.get(), 1, kMd5BlockBytes, file.get());
        md5.Update(block.get(), n);
        if (n < kMd5BlockBytes) break;
    }
    if (std::ferror(file.get())) return {};
    return md5.Finish();
}

bool HardDiskManager::CheckFreeSpace(const std::wstring& directory)
{
    Platform::DiskSpace space;
    int code = Platform::GetDiskFreeSpace(ToNarrow(directory, CP_UTF8), space);
    if (code != 0) {
        Log(L"Utils::HardDiskManager::CheckFreeSpace", __LINE__, L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n",
            static_cast<long>(code));
        return false;
    }
    m_FreeBytesForCaller = space.freeBytesForCaller;
    m_TotalBytes = space.totalBytes;
    m_TotalFreeBytes = space.totalFreeBytes;
    return true;
}

}  // namespace Utils
