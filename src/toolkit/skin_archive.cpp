#include "toolkit/skin_archive.h"

#include <archive.h>
#include <archive_entry.h>

#include <fstream>
#include <map>
#include <mutex>

#include "toolkit/text.h"

namespace toolkit {
namespace {

// Limits that keep a hostile archive from exhausting memory: the real skin is
// about a megabyte, so these are generous.
constexpr int64_t kMaxEntryBytes = 64ll * 1024 * 1024;
constexpr int64_t kMaxTotalBytes = 256ll * 1024 * 1024;
constexpr size_t kMaxEntries = 10000;

std::wstring Fold(std::wstring_view name)
{
    std::wstring out = ToLower(name);
    for (auto& c : out)
        if (c == L'\\') c = L'/';
    while (out.starts_with(L"./")) out.erase(0, 2);
    return out;
}

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};

bool ReadEntryBytes(archive* a, int64_t size, std::vector<uint8_t>& out)
{
    out.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < out.size()) {
        la_ssize_t n = archive_read_data(a, out.data() + done, out.size() - done);
        if (n < 0) return false;
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    out.resize(done);
    return true;
}

std::mutex g_sharedMutex;
std::map<const void*, std::shared_ptr<SkinArchive>> g_shared;
std::shared_ptr<SkinArchive> g_current;

}  // namespace

void SkinArchive::Add(std::wstring name, std::vector<uint8_t> bytes)
{
    std::wstring folded = Fold(name);
    m_entries.push_back({std::move(name), std::move(folded), std::move(bytes)});
}

std::shared_ptr<SkinArchive> SkinArchive::FromMemory(std::span<const std::byte> bytes)
{
    if (bytes.empty()) return nullptr;
    std::unique_ptr<archive, ArchiveCloser> a(archive_read_new());
    archive_read_support_format_7zip(a.get());
    archive_read_support_format_zip(a.get());
    archive_read_support_filter_all(a.get());
    if (archive_read_open_memory(a.get(), bytes.data(), bytes.size()) != ARCHIVE_OK) return nullptr;

    auto result = std::shared_ptr<SkinArchive>(new SkinArchive);
    int64_t total = 0;
    archive_entry* entry = nullptr;
    while (true) {
        int rc = archive_read_next_header(a.get(), &entry);
        if (rc == ARCHIVE_EOF) break;
        if (rc != ARCHIVE_OK && rc != ARCHIVE_WARN) return nullptr;
        if (archive_entry_filetype(entry) != AE_IFREG) continue;
        int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
        total += size;
        if (size < 0 || size > kMaxEntryBytes || total > kMaxTotalBytes || result->Count() >= kMaxEntries)
            return nullptr;
        const char* path = archive_entry_pathname_utf8(entry);
        if (!path) path = archive_entry_pathname(entry);
        std::vector<uint8_t> data;
        if (!path || !ReadEntryBytes(a.get(), size, data)) return nullptr;
        result->Add(FromUtf8(path), std::move(data));
    }
    return result;
}

std::shared_ptr<SkinArchive> SkinArchive::FromDirectory(const std::filesystem::path& root)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(root, ec)) return nullptr;
    auto result = std::shared_ptr<SkinArchive>(new SkinArchive);
    int64_t total = 0;
    for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        auto size = static_cast<int64_t>(it->file_size(ec));
        total += size;
        if (ec || size > kMaxEntryBytes || total > kMaxTotalBytes) return nullptr;
        std::ifstream in(it->path(), std::ios::binary);
        std::vector<uint8_t> data(static_cast<size_t>(size));
        in.read(reinterpret_cast<char*>(data.data()), size);
        auto relative = std::filesystem::relative(it->path(), root, ec);
        result->Add(FromUtf8(relative.generic_string()), std::move(data));
    }
    return result;
}

const SkinArchive::Entry* SkinArchive::Find(std::wstring_view name) const
{
    std::wstring folded = Fold(name);
    for (const auto& e : m_entries)
        if (e.folded == folded) return &e;
    return nullptr;
}

std::optional<std::string> SkinArchive::ReadLayout(std::wstring_view name) const
{
    const Entry* e = Find(name);
    if (!e || e->bytes.empty() || e->bytes.size() > kMaxLayoutBytes) return std::nullopt;
    return std::string(e->bytes.begin(), e->bytes.end());
}

std::shared_ptr<SkinArchive> OpenSharedSkinArchive(std::span<const std::byte> bytes)
{
    std::lock_guard lock(g_sharedMutex);
    auto& slot = g_shared[bytes.data()];
    if (!slot) slot = SkinArchive::FromMemory(bytes);
    if (slot) g_current = slot;
    return slot;
}

std::shared_ptr<SkinArchive> CurrentSkinArchive()
{
    std::lock_guard lock(g_sharedMutex);
    return g_current;
}

void SetCurrentSkinArchive(std::shared_ptr<SkinArchive> archive)
{
    std::lock_guard lock(g_sharedMutex);
    g_current = std::move(archive);
}

}  // namespace toolkit
