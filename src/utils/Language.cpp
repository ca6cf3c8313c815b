#include "utils/Language.h"

#include <json/json.h>

#include <atomic>
#include <memory>
#include <sstream>

#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "utils/Log.h"
#include "utils/Text.h"

namespace Utils {

namespace {

std::atomic<LanguageHost*> g_host{nullptr};

// Index 0 is English and needs no conversion; the Chinese texts pass through
// the ANSI code page as the texts of the rest of the program do.
std::wstring EntryText(const Json::Value& entry, int index)
{
    const auto& table = LocaleTable();
    auto locale = table.find(index);
    if (locale == table.end()) return {};
    const Json::Value& member = entry.get(locale->second, Json::Value());
    if (!member.isString() && !member.isNumeric() && !member.isBool()) return {};
    std::string text = member.asString();
    if (index == 1 || index == 2) text = Utf8ToAnsi(text);
    return ToWide(text, CP_ACP);
}

std::optional<int> EntryId(const Json::Value& entry)
{
    const Json::Value& id = entry.get("id", Json::Value());
    if (id.isNull()) return 0;
    if (!id.isConvertibleTo(Json::intValue) || id.isString() || id.isBool()) return std::nullopt;
    return id.asInt();
}

int ChooseIndex(int defaultIndex, const std::wstring& localeName)
{
    const auto& table = LocaleTable();
    if (localeName.empty()) return table.count(defaultIndex) ? defaultIndex : 0;
    const std::string name = ToNarrow(localeName, CP_ACP);
    for (const auto& [index, locale] : table)
        if (locale == name) return index;
    return defaultIndex;
}

}  // namespace

void SetLanguageHost(LanguageHost* host) { g_host.store(host); }

const std::map<int, std::string>& LocaleTable()
{
    static const std::map<int, std::string> table{{0, "en-US"}, {1, "zh-CN"}, {2, "zh-TW"}};
    return table;
}

std::optional<std::vector<std::pair<std::wstring, std::wstring>>> ParseLanguageTexts(std::string_view json,
                                                                                       int index)
{
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    // Nesting beyond the reader's depth limit is reported by an exception, not a false.
    try {
        if (!reader->parse(json.data(), json.data() + json.size(), &root, &errors)) return std::nullopt;
    } catch (const Json::Exception&) {
        return std::nullopt;
    }

    std::vector<std::pair<std::wstring, std::wstring>> texts;
    if (!root.isArray() && !root.isObject()) return texts;
    for (const Json::Value& entry : root) {
        // A stray number or list among the entries says nothing about any id.
        if (!entry.isObject()) continue;
        const std::optional<int> id = EntryId(entry);
        if (!id) continue;
        texts.emplace_back(std::to_wstring(*id), EntryText(entry, index));
    }
    return texts;
}

int LoadLanguage(int defaultIndex, const std::wstring& localeName)
{
    LanguageHost* host = g_host.load();
    if (!host) return 0;
    const std::optional<size_t> size = host->ItemSize(kLanguageFileName);
    if (!size || *size == 0 || *size > kMaxLanguageFileBytes) return 0;
    const std::optional<std::string> bytes = host->ExtractItem(kLanguageFileName);
    if (!bytes) return 0;

    const int index = ChooseIndex(defaultIndex, localeName);
    // Text ends at the first zero byte, as a zero-terminated copy would.
    const std::string_view text(bytes->c_str());
    auto texts = ParseLanguageTexts(text, index);
    if (!texts) {
        LEXIVAR_LOG(L"Utils::LoadLanguage", L"language file is not valid JSON\r\n");
        return index;
    }
    for (const auto& [id, value] : *texts) host->RegisterText(id, value);
    return index;
}

int LoadLanguageFromConfig(const std::wstring& directory, LanguageView* window)
{
    const std::string path = ToNarrow(directory + L"/config.ini", CP_UTF8);
    std::wstring name;
    if (Platform::PathExists(path)) name = Platform::GetPrivateProfileStringW(L"Install", L"Language", L"en-US", 260, path);
    const int index = LoadLanguage(0, name);
    if (window) window->RefreshLanguageLayout();
    return index;
}

}  // namespace Utils
