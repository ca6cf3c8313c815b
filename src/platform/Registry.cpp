#include "platform/Registry.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <map>
#include <vector>

namespace Platform {
namespace {

constexpr size_t kMaxKeyFileBytes = 4u * 1024u * 1024u;

std::string Utf8(const std::wstring& text) { return WideToMultiByte(text, kCodePageUtf8); }

std::vector<std::string> KeyComponents(const std::wstring& key)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : Utf8(key) + "\\") {
        if (c != '\\') {
            current += c;
            continue;
        }
        parts.push_back(current);
        current.clear();
    }
    return parts;
}

bool AcceptableComponent(const std::string& part)
{
    return !part.empty() && part != "." && part != ".." && part.find('/') == std::string::npos;
}

std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return out;
}

const char* TypeName(uint32_t type)
{
    switch (type) {
    case kRegSz: return "REG_SZ";
    case kRegExpandSz: return "REG_EXPAND_SZ";
    case kRegDword: return "REG_DWORD";
    default: return nullptr;
    }
}

std::optional<uint32_t> TypeFromName(const std::string& name)
{
    for (uint32_t t : {kRegSz, kRegExpandSz, kRegDword})
        if (name == TypeName(t)) return t;
    return std::nullopt;
}

// Value names compare without regard to case, as the system registry does.
std::string FoldKey(const std::string& name)
{
    std::string out = name;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct StoredValue {
    std::string name;  // as first written
    uint32_t type = kRegSz;
    std::string data;
};

using KeyContent = std::map<std::string, StoredValue>;

KeyContent Parse(const std::string& text)
{
    KeyContent values;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() : nl + 1;
        if (line.empty() || line[0] == '#') continue;
        size_t tab1 = line.find('\t');
        size_t tab2 = tab1 == std::string::npos ? std::string::npos : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos) continue;  // damaged line: skip, keep the rest
        auto type = TypeFromName(line.substr(tab1 + 1, tab2 - tab1 - 1));
        if (!type) continue;
        StoredValue v{Unescape(line.substr(0, tab1)), *type, Unescape(line.substr(tab2 + 1))};
        values.emplace(FoldKey(v.name), std::move(v));
    }
    return values;
}

std::string Render(const std::wstring& key, const KeyContent& values)
{
    std::string out = "# HKEY_CURRENT_USER\\" + Utf8(key) + "\n";
    for (const auto& [folded, v] : values)
        out += Escape(v.name) + "\t" + TypeName(v.type) + "\t" + Escape(v.data) + "\n";
    return out;
}

KeyContent Load(const std::string& file)
{
    auto text = ReadWholeFile(file, kMaxKeyFileBytes);
    return text ? Parse(*text) : KeyContent{};
}

bool EnsureFolders(const std::string& file)
{
    std::string root = GetKnownFolder(KnownFolder::Config);
    std::string relative = file.substr(root.size() + 1);
    std::string path = root;
    if (!IsDirectory(root) && !MakeDirectory(root)) return false;
    for (size_t slash = relative.find('/'); slash != std::string::npos; slash = relative.find('/', slash + 1)) {
        path = root + "/" + relative.substr(0, slash);
        if (!IsDirectory(path) && !MakeDirectory(path)) return false;
    }
    return true;
}

template <typename Change>
bool Modify(const std::wstring& key, Change change)
{
    std::string file = RegistryKeyFile(key);
    if (file.empty() || !EnsureFolders(file)) return false;
    FileLock lock(DirectoryPart(file) + "/." + FileNamePart(file) + ".lock");
    if (!lock.Held()) return false;
    KeyContent values = Load(file);
    if (!change(values)) return true;
    return ReplaceFileAtomically(file, Render(key, values), 0600);
}

}  // namespace

std::string RegistryKeyFile(const std::wstring& key)
{
    std::vector<std::string> parts = KeyComponents(key);
    // The per-user tree holds "Software\..." keys; that first level adds nothing on disk.
    if (!parts.empty() && FoldKey(parts.front()) == "software") parts.erase(parts.begin());
    if (parts.empty()) return {};
    std::string root = GetKnownFolder(KnownFolder::Config);
    if (root.empty()) return {};
    std::string path = root;
    for (const std::string& part : parts) {
        if (!AcceptableComponent(part)) return {};
        path += "/" + part;
    }
    return path + ".reg";
}

bool RegSetValue(const std::wstring& key, const std::wstring& name, const RegistryValue& value)
{
    if (TypeName(value.type) == nullptr) return false;
    return Modify(key, [&](KeyContent& values) {
        std::string n = Utf8(name);
        values[FoldKey(n)] = StoredValue{n, value.type, Utf8(value.data)};
        return true;
    });
}

std::optional<RegistryValue> RegQueryValue(const std::wstring& key, const std::wstring& name)
{
    std::string file = RegistryKeyFile(key);
    if (file.empty() || !PathExists(file)) return std::nullopt;
    KeyContent values = Load(file);
    auto it = values.find(FoldKey(Utf8(name)));
    if (it == values.end()) return std::nullopt;
    return RegistryValue{it->second.type, MultiByteToWide(it->second.data, kCodePageUtf8)};
}

bool RegDeleteValue(const std::wstring& key, const std::wstring& name)
{
    return Modify(key, [&](KeyContent& values) { return values.erase(FoldKey(Utf8(name))) > 0; });
}

}  // namespace Platform
