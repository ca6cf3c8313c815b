#include "toolkit/text.h"

#include <algorithm>
#include <climits>
#include <cwctype>

namespace toolkit {

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring FromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + static_cast<size_t>(extra) >= text.size()) {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        uint32_t c = extra == 0 ? b : (b & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            auto n = static_cast<unsigned char>(text[i + k]);
            if ((n & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (n & 0x3F);
        }
        if (!ok || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out += L'\xFFFD';
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    return true;
}

std::wstring ToLower(std::wstring_view text)
{
    std::wstring out(text);
    for (auto& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    return out;
}

int ToInt(std::wstring_view text)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<std::vector<int>> ParseIntList(std::wstring_view text, size_t count)
{
    std::vector<int> out;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    };
    while (out.size() < count) {
        skipBlanks();
        size_t start = i;
        if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) ++i;
        size_t digits = i;
        while (i < text.size() && text[i] >= L'0' && text[i] <= L'9' && i - digits < 9) ++i;
        if (i == digits || (i < text.size() && text[i] >= L'0' && text[i] <= L'9')) return std::nullopt;
        out.push_back(std::clamp(ToInt(text.substr(start, i - start)), -kMaxCoordinate, kMaxCoordinate));
        skipBlanks();
        if (out.size() < count) {
            if (i >= text.size() || text[i] != L',') return std::nullopt;
            ++i;
        }
    }
    if (i != text.size()) return std::nullopt;
    return out;
}

bool IsTrue(std::wstring_view text) { return EqualsNoCase(text, L"true"); }

std::optional<uint32_t> ParseColour(std::wstring_view text)
{
    if (text.starts_with(L"#"))
        text.remove_prefix(1);
    else if (text.starts_with(L"0x") || text.starts_with(L"0X"))
        text.remove_prefix(2);
    if (text.size() != 8 && text.size() != 6) return std::nullopt;
    uint32_t value = 0;
    for (wchar_t c : text) {
        int digit = c >= L'0' && c <= L'9'   ? c - L'0'
                    : c >= L'a' && c <= L'f' ? c - L'a' + 10
                    : c >= L'A' && c <= L'F' ? c - L'A' + 10
                                             : -1;
        if (digit < 0) return std::nullopt;
        value = (value << 4) | static_cast<uint32_t>(digit);
    }
    if (text.size() == 6) value |= 0xFF000000u;
    return value;
}

}  // namespace toolkit
