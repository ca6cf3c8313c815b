#include "platform/PrivateProfile.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

#include <mutex>
#include <vector>

namespace Platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

std::string_view TrimView(std::string_view text)
{
    auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

struct Line {
    size_t begin = 0;  // offset of the line in the content
    size_t end = 0;    // offset after its line break
    std::string_view text;  // without the line break
};

std::vector<Line> SplitLines(std::string_view content)
{
    std::vector<Line> lines;
    size_t pos = 0;
    if (content.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
    while (pos < content.size()) {
        auto nl = content.find('\n', pos);
        size_t stop = nl == std::string_view::npos ? content.size() : nl;
        size_t next = nl == std::string_view::npos ? content.size() : nl + 1;
        std::string_view text = content.substr(pos, stop - pos);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        lines.push_back({pos, next, text});
        pos = next;
    }
    return lines;
}

// "[name]" -> name; nothing for other lines. A missing "]" takes the rest of the line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimView(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    auto close = line.find(']');
    return TrimView(close == std::string_view::npos ? line : line.substr(0, close));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> KeyLine(std::string_view line)
{
    std::string_view trimmed = TrimView(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return Entry{TrimView(trimmed.substr(0, eq)), TrimView(trimmed.substr(eq + 1))};
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Position of a section: its header line index and one past its last line.
struct SectionSpan {
    size_t header = 0;
    size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, std::string_view section)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = SectionName(lines[i].text);
        if (!name || !EqualsNoCase(*name, section)) continue;
        size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].text)) ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::mutex& WriteMutex()
{
    static std::mutex m;
    return m;
}

std::string CutBytes(std::string value, size_t bufferBytes)
{
    if (bufferBytes == 0) return {};
    if (value.size() > bufferBytes - 1) value.resize(bufferBytes - 1);
    return value;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view content, std::string_view section, std::string_view key)
{
    section = TrimView(section);
    key = TrimView(key);
    std::vector<Line> lines = SplitLines(content);
    bool inSection = false;
    for (const Line& line : lines) {
        if (auto name = SectionName(line.text)) {
            inSection = EqualsNoCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        auto entry = KeyLine(line.text);
        if (entry && EqualsNoCase(entry->key, key)) return std::string(Unquote(entry->value));
    }
    return std::nullopt;
}

std::optional<std::string> SetProfileValue(std::string_view content, std::string_view section,
                                           const std::string* key, const std::string* value)
{
    section = TrimView(section);
    if (section.empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos) return std::nullopt;
    if (key && (TrimView(*key).empty() || HasLineBreak(*key) || key->find('=') != std::string::npos)) return std::nullopt;
    if (value && HasLineBreak(*value)) return std::nullopt;

    const std::string eol = content.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::vector<Line> lines = SplitLines(content);
    auto span = FindSection(lines, section);
    std::string out(content);

    if (!span) {
        if (!key || !value) return out;  // nothing to delete
        if (!out.empty() && out.back() != '\n') out += eol;
        out += "[" + std::string(section) + "]" + eol + *key + "=" + *value + eol;
        return out;
    }
    if (!key) {  // delete the whole section
        size_t from = lines[span->header].begin;
        size_t to = span->end < lines.size() ? lines[span->end].begin : content.size();
        return out.erase(from, to - from);
    }
    for (size_t i = span->header + 1; i < span->end; ++i) {
        auto entry = KeyLine(lines[i].text);
        if (!entry || !EqualsNoCase(entry->key, TrimView(*key))) continue;
        std::string replacement = value ? *key + "=" + *value + eol : std::string();
        size_t from = lines[i].begin;
        std::string_view tail = content.substr(lines[i].end);
        out = std::string(content.substr(0, from)) + replacement + std::string(tail);
        return out;
    }
    if (!value) return out;  // key absent: nothing to delete
    // Append after the section's last non-blank line so blank separators stay below it.
    size_t last = span->header;
    for (size_t i = span->header + 1; i < span->end; ++i)
        if (!TrimView(lines[i].text).empty()) last = i;
    size_t at = lines[last].end;
    std::string prefix(content.substr(0, at));
    if (!prefix.empty() && prefix.back() != '\n') prefix += eol;
    return prefix + *key + "=" + *value + eol + std::string(content.substr(at));
}

std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, size_t bufferBytes, const std::string& path)
{
    auto content = ReadWholeFile(path, kMaxProfileBytes);
    std::optional<std::string> value;
    if (content) value = FindProfileValue(*content, section, key);
    return CutBytes(value ? *value : defaultValue, bufferBytes);
}

std::wstring GetPrivateProfileStringW(const std::wstring& section, const std::wstring& key,
                                      const std::wstring& defaultValue, size_t bufferChars,
                                      const std::string& path)
{
    auto content = ReadWholeFile(path, kMaxProfileBytes);
    std::optional<std::string> value;
    if (content)
        value = FindProfileValue(*content, WideToMultiByte(section, kCodePageUtf8), WideToMultiByte(key, kCodePageUtf8));
    std::wstring result = value ? MultiByteToWide(*value, kCodePageUtf8) : defaultValue;
    if (bufferChars == 0) return {};
    if (result.size() > bufferChars - 1) result.resize(bufferChars - 1);
    return result;
}

bool WritePrivateProfileStringA(const std::string& section, const std::string* key, const std::string* value,
                                const std::string& path)
{
    std::lock_guard<std::mutex> guard(WriteMutex());
    std::string content;
    if (PathExists(path)) {
        auto existing = ReadWholeFile(path, kMaxProfileBytes);
        if (!existing) return false;  // unreadable or oversized: never clobber it
        content = std::move(*existing);
    }
    auto updated = SetProfileValue(content, section, key, value);
    if (!updated) return false;
    if (*updated == content && PathExists(path)) return true;
    return ReplaceFileAtomically(path, *updated);
}

bool WritePrivateProfileStringW(const std::wstring& section, const std::wstring* key, const std::wstring* value,
                                const std::string& path)
{
    std::string k = key ? WideToMultiByte(*key, kCodePageUtf8) : std::string();
    std::string v = value ? WideToMultiByte(*value, kCodePageUtf8) : std::string();
    return WritePrivateProfileStringA(WideToMultiByte(section, kCodePageUtf8), key ? &k : nullptr,
                                      value ? &v : nullptr, path);
}

}  // namespace Platform
