#pragma once
// The diagnostic log: one line per notable step, stamped with process, thread,
// local time, the calling function and the source line, written to the
// developer-only debug output. There are no levels and no log file.
//
// The message is a wide printf-style format written by the program itself,
// never text from a user or a file. As on the system this code came from, "%s"
// in it takes a wide text; "%hs" takes a narrow (UTF-8) one.
#include <cstdint>
#include <string>

#include "platform/Clock.h"

namespace Utils {

// "<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: "
std::wstring FormatLogPrefix(uint32_t processId, uint32_t threadId, const Platform::LocalTime& time,
                             const wchar_t* function, int line);

void Log(const wchar_t* function, int line, const wchar_t* messageFormat, ...);

}  // namespace Utils

#define LEXIVAR_LOG(function, messageFormat, ...) \
    ::Utils::Log(function, __LINE__, messageFormat __VA_OPT__(, ) __VA_ARGS__)
