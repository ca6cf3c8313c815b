#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

// The window skin: layouts and images, decoded once into memory. Names are
// looked up with "\" read as "/" and without regard to letter case; the first
// matching entry wins.
class SkinArchive final {
public:
    struct Entry {
        std::wstring name;
        std::wstring folded;  // lower case, "/" separators
        std::vector<uint8_t> bytes;
    };

    // Decodes a 7z (or any archive libarchive reads) held in memory; null when
    // the bytes are not a readable archive.
    static std::shared_ptr<SkinArchive> FromMemory(std::span<const std::byte> bytes);
    // The same lookup over the files below a folder; used by the render tool
    // and tests, where the skin has not been packed yet.
    static std::shared_ptr<SkinArchive> FromDirectory(const std::filesystem::path& root);

    const Entry* Find(std::wstring_view name) const;
    // A layout text, or nothing when it is missing, empty or over 4 MiB.
    std::optional<std::string> ReadLayout(std::wstring_view name) const;
    size_t Count() const { return m_entries.size(); }

    static constexpr size_t kMaxLayoutBytes = 4u * 1024u * 1024u;

private:
    void Add(std::wstring name, std::vector<uint8_t> bytes);
    std::vector<Entry> m_entries;
};

// The process keeps one opened archive per resource: the first window opens
// it, every later window reuses it.
std::shared_ptr<SkinArchive> OpenSharedSkinArchive(std::span<const std::byte> bytes);
// The archive opened last (for code that reads texts from the skin).
std::shared_ptr<SkinArchive> CurrentSkinArchive();
void SetCurrentSkinArchive(std::shared_ptr<SkinArchive> archive);

}  // namespace toolkit
