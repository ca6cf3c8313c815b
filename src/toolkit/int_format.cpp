#include "toolkit/int_format.h"

#include <cstdlib>

namespace toolkit {
namespace {

struct Conversion {
    bool left = false, plus = false, space = false, zero = false;
    size_t width = 0;
    std::optional<size_t> precision;
    bool isUnsigned = false;
};

// Reads flags, width, precision and conversion after a "%"; false when the
// conversion is not a plain integer one.
bool ReadConversion(std::wstring_view p, size_t& i, Conversion& conv)
{
    for (; i < p.size(); ++i) {
        if (p[i] == L'-') conv.left = true;
        else if (p[i] == L'+') conv.plus = true;
        else if (p[i] == L' ') conv.space = true;
        else if (p[i] == L'0') conv.zero = true;
        else break;
    }
    auto number = [&](size_t& out) {
        for (; i < p.size() && p[i] >= L'0' && p[i] <= L'9'; ++i) {
            out = out * 10 + static_cast<size_t>(p[i] - L'0');
            if (out > 1000) return false;
        }
        return true;
    };
    if (!number(conv.width)) return false;
    if (i < p.size() && p[i] == L'.') {
        ++i;
        size_t precision = 0;
        if (!number(precision)) return false;
        conv.precision = precision;
    }
    while (i < p.size() && (p[i] == L'l' || p[i] == L'h')) ++i;
    if (i >= p.size()) return false;
    wchar_t type = p[i++];
    if (type == L'u') conv.isUnsigned = true;
    return type == L'd' || type == L'i' || type == L'u';
}

std::wstring Render(const Conversion& conv, long long value)
{
    unsigned long long magnitude = 0;
    bool negative = false;
    if (conv.isUnsigned) {
        magnitude = static_cast<unsigned int>(value);
    } else {
        negative = value < 0;
        magnitude = negative ? 0ull - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    }
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude);
    if (conv.precision && *conv.precision == 0 && value == 0) digits.clear();
    if (conv.precision && digits.size() < *conv.precision) digits.insert(0, *conv.precision - digits.size(), L'0');
    std::wstring sign = negative ? L"-" : (!conv.isUnsigned && conv.plus) ? L"+" : (!conv.isUnsigned && conv.space) ? L" " : L"";
    size_t length = sign.size() + digits.size();
    if (length >= conv.width) return sign + digits;
    size_t pad = conv.width - length;
    if (conv.left) return sign + digits + std::wstring(pad, L' ');
    if (conv.zero && !conv.precision) return sign + std::wstring(pad, L'0') + digits;
    return std::wstring(pad, L' ') + sign + digits;
}

}  // namespace

std::optional<std::wstring> FormatInteger(std::wstring_view pattern, long long value, size_t maxLength)
{
    std::wstring out;
    int conversions = 0;
    for (size_t i = 0; i < pattern.size();) {
        if (pattern[i] != L'%') {
            out += pattern[i++];
            continue;
        }
        ++i;
        if (i < pattern.size() && pattern[i] == L'%') {
            out += L'%';
            ++i;
            continue;
        }
        Conversion conv;
        if (++conversions > 1 || !ReadConversion(pattern, i, conv)) return std::nullopt;
        out += Render(conv, value);
        if (out.size() > maxLength) return std::nullopt;
    }
    if (conversions != 1 || out.size() > maxLength) return std::nullopt;
    return out;
}

}  // namespace toolkit
