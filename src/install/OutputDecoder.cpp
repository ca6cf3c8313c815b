#include "install/OutputDecoder.h"

#include <string>

#include "utils/Text.h"

namespace Install {
namespace {

// Byte position just after the line that starts at `from`.
size_t NextLine(std::string_view bytes, size_t from) {
    const size_t end = bytes.find('\n', from);
    return end == std::string_view::npos ? bytes.size() : end + 1;
}

}  // namespace

bool DecodeLines(std::string_view lines, const unsigned int& codePage, const WideLineReader& reader) {
    size_t pos = 0;
    while (pos < lines.size()) {
        // Decode up to the next zero byte: the converter would stop there anyway.
        const size_t zero = lines.find('\0', pos);
        const size_t chunkEnd = zero == std::string_view::npos ? lines.size() : zero;
        const unsigned int page = codePage;
        const std::wstring wide = Utils::ToWide(lines.substr(pos, chunkEnd - pos), page);
        std::wstring_view rest(wide);
        size_t raw = pos;
        bool switched = false;
        while (!rest.empty() && !switched) {
            const size_t end = rest.find(L'\n');
            if (reader(rest.substr(0, end))) return true;
            raw = NextLine(lines, raw);
            switched = codePage != page;
            rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
        }
        if (switched && raw < chunkEnd) {
            pos = raw;
            continue;
        }
        // After a zero byte the rest of that line is dropped.
        pos = zero == std::string_view::npos ? lines.size() : NextLine(lines, zero);
    }
    return false;
}

}  // namespace Install
