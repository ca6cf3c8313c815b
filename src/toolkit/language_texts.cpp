#include "toolkit/language_texts.h"

#include <map>
#include <mutex>

namespace toolkit {

namespace {

// Windows read the table on their own thread; a lock keeps a load from
// another thread (tests do that) from tearing an entry.
struct Table {
    std::mutex mutex;
    std::map<std::wstring, std::wstring> texts;
};

Table& Instance()
{
    static Table table;
    return table;
}

}  // namespace

void SetLanguageText(const std::wstring& id, std::wstring text)
{
    Table& t = Instance();
    std::lock_guard lock(t.mutex);
    t.texts[id] = std::move(text);
}

std::optional<std::wstring> FindLanguageText(const std::wstring& id)
{
    Table& t = Instance();
    std::lock_guard lock(t.mutex);
    auto it = t.texts.find(id);
    if (it == t.texts.end()) return std::nullopt;
    return it->second;
}

void ClearLanguageTexts()
{
    Table& t = Instance();
    std::lock_guard lock(t.mutex);
    t.texts.clear();
}

}  // namespace toolkit
