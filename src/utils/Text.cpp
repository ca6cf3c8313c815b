#include "utils/Text.h"

#include "platform/CodePage.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cwchar>
#include <locale.h>

namespace Utils {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

// Numbers in settings use "." whatever locale a library may have switched to.
locale_t ClassicLocale()
{
    static locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return classic;
}

}  // namespace

std::wstring ToWide(std::string_view bytes, unsigned int codePage)
{
    return Platform::MultiByteToWide(bytes, codePage);
}

std::string ToNarrow(std::wstring_view text, unsigned int codePage)
{
    return Platform::WideToMultiByte(text, codePage);
}

std::string Utf8ToAnsi(std::string_view bytes) { return ToNarrow(ToWide(bytes, CP_UTF8), CP_ACP); }

std::wstring TrimLeft(std::wstring_view text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    return std::wstring(text.substr(i));
}

std::wstring TrimRight(std::wstring_view text)
{
    size_t n = text.size();
    while (n > 0 && IsSpace(text[n - 1])) --n;
    return std::wstring(text.substr(0, n));
}

std::wstring Trim(std::wstring_view text) { return TrimLeft(TrimRight(text)); }

std::wstring UrlEncode(std::wstring_view text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string bytes = ToNarrow(text, CP_UTF8);
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if (c >= 33 && c <= 126) {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return ToWide(out, CP_UTF8);
}

std::string UrlParentSegment(std::string_view address)
{
    auto last = address.rfind('/');
    if (last == std::string_view::npos) return {};
    std::string_view head = address.substr(0, last);
    auto previous = head.rfind('/');
    if (previous == std::string_view::npos) return {};
    return std::string(head.substr(previous + 1));
}

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view pattern, std::wstring_view replacement)
{
    std::wstring out(text);
    if (pattern.empty()) return out;
    for (size_t pos = out.find(pattern); pos != std::wstring::npos; pos = out.find(pattern, pos)) {
        out.replace(pos, pattern.size(), replacement);
        pos += replacement.size();
    }
    return out;
}

NumberParse ParseInt32(std::wstring_view text, int32_t& value)
{
    std::wstring copy(text);
    wchar_t* end = nullptr;
    errno = 0;
    long long parsed = std::wcstoll(copy.c_str(), &end, 10);
    if (end == copy.c_str()) {
        value = 0;
        return NumberParse::NotANumber;
    }
    if (errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) {
        value = parsed < 0 ? INT32_MIN : INT32_MAX;
        return NumberParse::OutOfRange;
    }
    value = static_cast<int32_t>(parsed);
    return NumberParse::Ok;
}

NumberParse ParseDouble(std::wstring_view text, double& value)
{
    std::wstring copy(text);
    wchar_t* end = nullptr;
    errno = 0;
    double parsed = wcstod_l(copy.c_str(), &end, ClassicLocale());
    if (end == copy.c_str()) {
        value = 0.0;
        return NumberParse::NotANumber;
    }
    // Overflow; an underflow towards zero is still the number the text means.
    if (errno == ERANGE && std::isinf(parsed)) return NumberParse::OutOfRange;
    value = parsed;
    return NumberParse::Ok;
}

}  // namespace Utils
