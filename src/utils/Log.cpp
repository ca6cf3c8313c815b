#include "utils/Log.h"

#include "platform/Clock.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"

#include <cstdarg>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace Utils {
namespace {

constexpr size_t kMaxMessageChars = 65536;

// glibc's wide printf reads "%s" as narrow text; the callers mean wide text.
// Rewrite the conversions so the arguments are read the way they were passed.
std::wstring PortableFormat(const wchar_t* format)
{
    std::wstring out;
    for (const wchar_t* p = format; *p != 0; ++p) {
        out += *p;
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') {
            out += *p;
            continue;
        }
        // Flags, width, precision.
        while (*p != 0 && std::wcschr(L"-+ #0123456789.*'", *p) != nullptr) out += *p++;
        if (p[0] == L'h' && p[1] == L's') {  // explicit narrow text
            out += L's';
            ++p;
            continue;
        }
        if (*p == L's') out += L"ls";
        else if (*p == L'S') out += L"s";
        else if (*p == L'c') out += L"lc";
        else if (*p != 0) out += *p;
        if (*p == 0) break;
    }
    return out;
}

}  // namespace

void Log(const wchar_t* function, int line, const wchar_t* messageFormat, ...)
{
    Platform::LocalTime now = Platform::GetLocalTime();
    unsigned int thread = Platform::CurrentThreadId();
    unsigned int process = Platform::CurrentProcessId();

    wchar_t prefix[160];
    int prefixLength = std::swprintf(prefix, sizeof prefix / sizeof prefix[0],
                                     L"<P%05u><T%05u><%04d-%02d-%02d %02d:%02d:%02d.%03d>(", process, thread,
                                     now.year, now.month, now.day, now.hour, now.minute, now.second,
                                     now.milliseconds);
    if (prefixLength < 0) return;
    std::wstring text(prefix, static_cast<size_t>(prefixLength));
    text += function != nullptr ? function : L"";
    wchar_t lineField[32];
    std::swprintf(lineField, sizeof lineField / sizeof lineField[0], L")<%04d>: ", line);
    text += lineField;

    if (messageFormat != nullptr) {
        std::wstring format = PortableFormat(messageFormat);
        // Wide formatting has no counting mode; grow the buffer until the line fits.
        // A failure at the largest size is a bad argument, not a short buffer.
        bool formatted = false;
        for (size_t size = 256; size <= kMaxMessageChars && !formatted; size *= 4) {
            std::wstring buffer(size, L'\0');
            va_list args;
            va_start(args, messageFormat);
            int n = std::vswprintf(buffer.data(), size, format.c_str(), args);
            va_end(args);
            if (n >= 0) {
                text.append(buffer.data(), static_cast<size_t>(n));
                formatted = true;
            }
        }
        if (!formatted) text += messageFormat;
    }
    Platform::DebugOutput(Platform::WideToMultiByte(text, Platform::kCodePageUtf8));
}

}  // namespace Utils
