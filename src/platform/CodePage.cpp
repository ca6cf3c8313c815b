#include "platform/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace Platform {
namespace {

std::string IconvName(unsigned int codePage)
{
    switch (codePage) {
    case kCodePageAnsi:
    case kCodePageUtf8: return "UTF-8";
    case 20127: return "ASCII";
    case 54936: return "GB18030";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    default: return "CP" + std::to_string(codePage);
    }
}

class Converter final {
public:
    Converter(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter()
    {
        if (Valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input; an input unit the target cannot take is
    // skipped and replaced by `replacement` (already in the target encoding).
    std::string Run(const char* in, size_t inLeft, size_t unit, std::string_view replacement)
    {
        std::string out;
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            char* src = const_cast<char*>(in);
            size_t rc = iconv(m_cd, &src, &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            in = src;
            if (rc != static_cast<size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or a truncated sequence at the end: replace one unit and go on.
            out.append(replacement);
            size_t skip = inLeft < unit ? inLeft : unit;
            in += skip;
            inLeft -= skip;
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(m_cd, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        return out;
    }

private:
    iconv_t m_cd;
};

// Like the system converter with a length of -1, the text ends at its first zero.
template <typename Char>
std::basic_string_view<Char> UpToZero(std::basic_string_view<Char> text)
{
    auto zero = text.find(Char(0));
    return zero == std::basic_string_view<Char>::npos ? text : text.substr(0, zero);
}

}  // namespace

std::wstring MultiByteToWide(std::string_view bytes, unsigned int codePage)
{
    bytes = UpToZero(bytes);
    if (bytes.empty()) return {};
    Converter conv("WCHAR_T", IconvName(codePage));
    if (!conv.Valid()) return {};
    const wchar_t replacement = 0xFFFD;
    std::string raw = conv.Run(bytes.data(), bytes.size(), 1,
                               std::string_view(reinterpret_cast<const char*>(&replacement), sizeof replacement));
    std::wstring out(raw.size() / sizeof(wchar_t), L'\0');
    raw.copy(reinterpret_cast<char*>(out.data()), out.size() * sizeof(wchar_t));
    return out;
}

std::string WideToMultiByte(std::wstring_view text, unsigned int codePage)
{
    text = UpToZero(text);
    if (text.empty()) return {};
    Converter conv(IconvName(codePage), "WCHAR_T");
    if (!conv.Valid()) return {};
    return conv.Run(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t), sizeof(wchar_t), "?");
}

}  // namespace Platform
