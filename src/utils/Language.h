#pragma once
// The interface language: "language.json" in the skin holds the texts of every
// locale; loading one registers its texts by id in the window toolkit's table.
// Utils knows nothing of windows, so the window layer plugs in where the file
// comes from and where the texts go.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Utils {

inline constexpr char kLanguageFileName[] = "language.json";
// Larger (or empty) language files are ignored.
inline constexpr size_t kMaxLanguageFileBytes = 0x400000;

class LanguageHost {
public:
    virtual ~LanguageHost() = default;
    // Size of the named skin item; nothing when the skin or the item is missing.
    virtual std::optional<size_t> ItemSize(std::string_view name) = 0;
    // The item's bytes; nothing when they cannot be extracted.
    virtual std::optional<std::string> ExtractItem(std::string_view name) = 0;
    // Replaces the text registered under the decimal id.
    virtual void RegisterText(const std::wstring& id, const std::wstring& text) = 0;
};

// The window whose layout is laid out again after a language was loaded.
class LanguageView {
public:
    virtual ~LanguageView() = default;
    virtual void RefreshLanguageLayout() = 0;
};

// Null detaches; without a host every load gives 0 and registers nothing.
void SetLanguageHost(LanguageHost* host);

// Index -> locale name: 0 "en-US", 1 "zh-CN", 2 "zh-TW".
const std::map<int, std::string>& LocaleTable();

// The texts of the locale at `index` as (decimal id, text) pairs in file
// order. Nothing when the text is not JSON; entries that are not objects or
// whose id is not an integer are skipped.
std::optional<std::vector<std::pair<std::wstring, std::wstring>>> ParseLanguageTexts(std::string_view json,
                                                                                       int index);

// Registers the texts of the chosen locale and returns its index: the locale
// named by `localeName` when it is known, else `defaultIndex` (0 when the name
// is empty and the table lacks that index). 0 without a usable language file.
int LoadLanguage(int defaultIndex, const std::wstring& localeName);

// The language an installed product uses ("Language" of section "Install" in
// its "config.ini", "en-US" when absent); refreshes the window's layout.
int LoadLanguageFromConfig(const std::wstring& directory, LanguageView* window);

}  // namespace Utils
