#include "toolkit/image_desc.h"

#include "toolkit/text.h"

namespace toolkit {
namespace {

std::optional<Rect> ParseRectValue(std::wstring_view value)
{
    auto v = ParseIntList(value, 4);
    if (!v) return std::nullopt;
    return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

// Applies one pair; unknown keys and unreadable numbers leave the defaults.
void ApplyPair(ImageDesc& desc, std::wstring_view key, std::wstring_view value)
{
    if (EqualsNoCase(key, L"file")) {
        desc.file = value;
    } else if (EqualsNoCase(key, L"dest")) {
        desc.dest = ParseRectValue(value);
    } else if (EqualsNoCase(key, L"source")) {
        desc.source = ParseRectValue(value);
    } else if (EqualsNoCase(key, L"corner") || EqualsNoCase(key, L"scale9")) {
        desc.corner = ParseRectValue(value).value_or(Rect{});
    } else if (EqualsNoCase(key, L"mask")) {
        desc.mask = ParseColour(value);
    } else if (EqualsNoCase(key, L"fade")) {
        int fade = ToInt(value);
        desc.fade = static_cast<uint8_t>(fade < 0 ? 0 : fade > 255 ? 255 : fade);
    } else if (EqualsNoCase(key, L"hole")) {
        desc.hole = IsTrue(value);
    } else if (EqualsNoCase(key, L"xtiled")) {
        desc.xtiled = IsTrue(value);
    } else if (EqualsNoCase(key, L"ytiled")) {
        desc.ytiled = IsTrue(value);
    }
}

}  // namespace

std::optional<ImageDesc> ParseImageDesc(std::wstring_view text)
{
    ImageDesc desc;
    if (text.find(L'\'') == std::wstring_view::npos) {
        desc.file = text;
        return desc;
    }
    size_t i = 0;
    while (true) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i == text.size()) break;
        size_t eq = text.find(L'=', i);
        if (eq == std::wstring_view::npos) return std::nullopt;
        std::wstring_view key = text.substr(i, eq - i);
        while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
        size_t open = eq + 1;
        while (open < text.size() && IsBlank(text[open])) ++open;
        if (key.empty() || open >= text.size() || text[open] != L'\'') return std::nullopt;
        size_t close = text.find(L'\'', open + 1);
        if (close == std::wstring_view::npos) return std::nullopt;
        ApplyPair(desc, key, text.substr(open + 1, close - open - 1));
        i = close + 1;
    }
    return desc;
}

}  // namespace toolkit
