#include "platform/CommandLineSplit.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace Platform {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

size_t SkipBlanks(const std::wstring& text, size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    return pos;
}

// The program name: quotes only delimit, backslashes are path separators.
size_t ReadProgram(const std::wstring& text, size_t pos, std::wstring& out)
{
    if (pos < text.size() && text[pos] == L'"') {
        auto close = text.find(L'"', pos + 1);
        size_t stop = close == std::wstring::npos ? text.size() : close;
        out = text.substr(pos + 1, stop - pos - 1);
        return close == std::wstring::npos ? text.size() : close + 1;
    }
    size_t stop = pos;
    while (stop < text.size() && !IsBlank(text[stop])) ++stop;
    out = text.substr(pos, stop - pos);
    return stop;
}

size_t ReadArgument(const std::wstring& text, size_t pos, std::wstring& out)
{
    int quotes = 0;  // counts modulo 3: 1 = inside quotes
    size_t backslashes = 0;
    while (pos < text.size()) {
        wchar_t c = text[pos];
        if (IsBlank(c) && quotes == 0) break;
        if (c == L'\\') {
            ++backslashes;
            out += c;
            ++pos;
            continue;
        }
        if (c != L'"') {
            backslashes = 0;
            out += c;
            ++pos;
            continue;
        }
        out.resize(out.size() - backslashes / 2);
        if (backslashes % 2 == 1) {
            out.back() = L'"';  // the odd backslash escapes the quote
            backslashes = 0;
            ++pos;
            continue;
        }
        backslashes = 0;
        ++quotes;
        ++pos;
        while (pos < text.size() && text[pos] == L'"') {
            if (++quotes == 3) {
                out += L'"';
                quotes = 0;
            }
            ++pos;
        }
        if (quotes == 2) quotes = 0;
    }
    return pos;
}

// The program name takes no escapes; it only needs quotes around blanks.
std::wstring QuoteProgram(const std::wstring& program)
{
    if (!program.empty() && program.find_first_of(L" \t\"") == std::wstring::npos) return program;
    return L"\"" + program + L"\"";
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine)
{
    std::vector<std::wstring> args;
    size_t pos = SkipBlanks(commandLine, 0);
    if (pos >= commandLine.size()) return args;
    std::wstring program;
    pos = ReadProgram(commandLine, pos, program);
    args.push_back(program);
    for (pos = SkipBlanks(commandLine, pos); pos < commandLine.size(); pos = SkipBlanks(commandLine, pos)) {
        std::wstring arg;
        pos = ReadArgument(commandLine, pos, arg);
        args.push_back(std::move(arg));
    }
    return args;
}

std::wstring QuoteArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');  // before the closing quote
    return out + L"\"";
}

std::wstring QuoteArguments(const std::vector<std::wstring>& arguments)
{
    std::wstring out;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) out += L' ';
        out += i == 0 ? QuoteProgram(arguments[0]) : QuoteArgument(arguments[i]);
    }
    return out;
}

std::wstring GetProcessCommandLine()
{
    auto raw = ReadWholeFile("/proc/self/cmdline", 1u << 20);
    std::vector<std::wstring> args;
    if (raw) {
        size_t pos = 0;
        while (pos < raw->size()) {
            size_t zero = raw->find('\0', pos);
            if (zero == std::string::npos) zero = raw->size();
            args.push_back(MultiByteToWide(std::string_view(*raw).substr(pos, zero - pos), kCodePageUtf8));
            pos = zero + 1;
        }
    }
    return QuoteArguments(args);
}

}  // namespace Platform
