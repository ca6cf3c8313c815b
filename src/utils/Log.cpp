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

std::wstring FormatLogPrefix(uint32_t processId, uint32_t threadId, const Platform::LocalTime& time,
                             const wchar_t* function, int line)
{
    wchar_t stamp[160];
    int n = std::swprintf(stamp, sizeof stamp / sizeof stamp[0], L"<P%05u><T%05u><%04d-%02d-%02d %02d:%02d:%02d.%03d>(",
                          processId, threadId, time.year, time.month, time.day, time.hour, time.minute, time.second,
                          time.milliseconds);
    std::wstring text(stamp, n > 0 ? static_cast<size_t>(n) : 0);
    text += function != nullptr ? function : L"";
    wchar_t lineField[32];
    n = std::swprintf(lineField, sizeof lineField / sizeof lineField[0], L")<%04d>: ", line);
    if (n > 0) text.append(lineField, static_cast<size_t>(n));
    return text;
}

void Log(const wchar_t* function, int line, const wchar_t* messageFormat, ...)
{
    Platform::LocalTime now = Platform::GetLocalTime();
    unsigned int thread = Platform::CurrentThreadId();
    unsigned int process = Platform::CurrentProcessId();

    std::wstring text = FormatLogPrefix(process, thread, now, function, line);
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
