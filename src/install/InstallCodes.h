#pragma once
// Event codes of the package installer and the previous-version uninstaller.
// They share one numbering with the download codes (1001-1006).
#include <cstdint>

enum InstallCode : std::int32_t {
    IST_CODE_START = 2001,
    IST_CODE_PROGRESS = 2002,
    IST_CODE_SUCCESS = 2003,
    IST_CODE_FAIL = 2004,

    IST_INFO_INST_PATH = 3000,
    IST_INFO_EXE_PATH = 3001,
    IST_INFO_UNINST_EXE = 3002,
    IST_INFO_UNINST_EP = 3003,
    IST_INFO_START_URL = 3004,
    IST_INFO_STARTUP_STYLE = 3005,
    IST_INFO_TOP_SHOW_DETENTION = 3007,
    IST_INFO_FINISH_CLOSE_DETENTION = 3008,
    IST_INFO_MESSAGE = 3009,
};

enum UninstallCode : std::int32_t {
    UNIST_CODE_START = 5001,
    UNIST_CODE_PROGRESS = 5002,
    UNIST_CODE_SUCCESS = 5003,
    UNIST_CODE_FAIL = 5004,
    UNIST_CODE_ERROR = 5005,
};

// What a parsed block tells the reader.
inline constexpr std::int32_t kParseContinue = 0;
inline constexpr std::int32_t kParseSucceeded = 1;
inline constexpr std::int32_t kParseFailed = 1000;
