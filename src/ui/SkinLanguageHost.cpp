#include "ui/SkinLanguageHost.h"

#include "platform/resources.h"
#include "toolkit/language_texts.h"
#include "toolkit/skin_archive.h"
#include "toolkit/text.h"

using namespace toolkit;

namespace {

// The archive the windows opened, or the linked skin when no window has yet.
std::shared_ptr<SkinArchive> Archive()
{
    if (auto archive = CurrentSkinArchive()) return archive;
    auto bytes = Platform::FindResourceBytes("ZIPRES", 147);
    if (bytes.empty()) return nullptr;
    return OpenSharedSkinArchive(std::as_bytes(bytes));
}

const SkinArchive::Entry* Find(std::string_view name, std::shared_ptr<SkinArchive>& archive)
{
    archive = Archive();
    return archive ? archive->Find(FromUtf8(name)) : nullptr;
}

}  // namespace

void SkinLanguageHost::Attach()
{
    static SkinLanguageHost host;
    Utils::SetLanguageHost(&host);
}

std::optional<size_t> SkinLanguageHost::ItemSize(std::string_view name)
{
    std::shared_ptr<SkinArchive> archive;
    const auto* entry = Find(name, archive);
    if (!entry) return std::nullopt;
    return entry->bytes.size();
}

std::optional<std::string> SkinLanguageHost::ExtractItem(std::string_view name)
{
    std::shared_ptr<SkinArchive> archive;
    const auto* entry = Find(name, archive);
    if (!entry) return std::nullopt;
    return std::string(entry->bytes.begin(), entry->bytes.end());
}

void SkinLanguageHost::RegisterText(const std::wstring& id, const std::wstring& text) { SetLanguageText(id, text); }
