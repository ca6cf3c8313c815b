#include "install/ConsoleProtocol.h"

#include <cmath>
#include <string>

#include "install/InstallCodes.h"
#include "utils/Log.h"
#include "utils/Text.h"

namespace Install {
namespace {

using Handler = int32_t (*)(std::wstring_view value, ProtocolState& state, const StatusCallback& callback);

struct Key {
    std::wstring_view name;
    Handler handler;
};

// "%[^\n]": the rest of the line. A "\r" from a child that ends its lines
// with CRLF is not part of the value: a path or message carrying it would be
// stored and shown wrongly.
std::wstring TextValue(std::wstring_view value) {
    if (!value.empty() && value.back() == L'\r') value.remove_suffix(1);
    return std::wstring(value.substr(0, kMaxValueChars));
}

void Send(const StatusCallback& callback, int32_t code, double value, const std::wstring& text = {}) {
    if (callback) callback(code, value, text.c_str());
}

// Events whose value is the rest of the line.
template <int32_t Code>
int32_t TextEvent(std::wstring_view value, ProtocolState&, const StatusCallback& callback) {
    Send(callback, Code, 0.0, TextValue(value));
    return kParseContinue;
}

// A progress line whose value is not a finite number is ignored: the window
// turns the value into a percentage, which NaN or infinity cannot be.
template <int32_t Code>
int32_t ProgressEvent(std::wstring_view value, ProtocolState&, const StatusCallback& callback) {
    double number = 0.0;
    if (Utils::ParseDouble(value, number) == Utils::NumberParse::Ok && std::isfinite(number))
        Send(callback, Code, number);
    return kParseContinue;
}

// "%d", passed on as an unsigned 32-bit number (so -1 means "forever").
template <int32_t Code>
int32_t DurationEvent(std::wstring_view value, ProtocolState&, const StatusCallback& callback) {
    int32_t number = 0;
    if (Utils::ParseInt32(value, number) == Utils::NumberParse::Ok)
        Send(callback, Code, static_cast<double>(static_cast<uint32_t>(number)));
    return kParseContinue;
}

template <int32_t SuccessCode, int32_t FailCode, const wchar_t* FailText>
int32_t StateEvent(std::wstring_view value, ProtocolState&, const StatusCallback& callback) {
    const std::wstring state = Utils::Trim(value);
    if (state == L"Success") {
        Send(callback, SuccessCode, 0.0);
        return kParseSucceeded;
    }
    if (state == L"Fail") {
        Send(callback, FailCode, 0.0, FailText);
        return kParseFailed;
    }
    return kParseContinue;
}

template <int32_t Code, int Value>
int32_t ErrorEvent(std::wstring_view value, ProtocolState&, const StatusCallback& callback) {
    Send(callback, Code, Value, TextValue(value));
    return kParseFailed;
}

int32_t InstallVersion(std::wstring_view value, ProtocolState& state, const StatusCallback&) {
    // Like "%d.%d.%d": numbers are stored up to the first that does not read.
    for (int i = 0; i < 3; ++i) {
        int32_t number = 0;
        if (Utils::ParseInt32(value, number) != Utils::NumberParse::Ok) break;
        state.version[i] = number;
        auto dot = value.find(L'.');
        if (i < 2 && dot == std::wstring_view::npos) break;
        value.remove_prefix(dot + 1);
    }
    return kParseContinue;
}

int32_t ExePath(std::wstring_view value, ProtocolState& state, const StatusCallback& callback) {
    const std::wstring text = TextValue(value);
    LEXIVAR_LOG(L"CInstaller::Parse", L"ExePath: %s", text.c_str());
    return TextEvent<IST_INFO_EXE_PATH>(text, state, callback);
}

int32_t StartupStyle(std::wstring_view value, ProtocolState&, const StatusCallback& callback) {
    const std::wstring style = Utils::Trim(value);
    const double code = style == L"AutoStartup" ? 1.0 : style == L"UserStartup" ? 2.0 : 0.0;
    Send(callback, IST_INFO_STARTUP_STYLE, code);
    return kParseContinue;
}

int32_t InstallerEncode(std::wstring_view value, ProtocolState& state, const StatusCallback&) {
    const std::wstring name = Utils::Trim(value);
    int32_t number = 0;
    if (name == L"UTF8") state.codePage = Utils::CP_UTF8;
    else if (name == L"ACP") state.codePage = Utils::CP_ACP;
    else if (Utils::ParseInt32(name, number) == Utils::NumberParse::Ok && number >= 0) state.codePage = static_cast<unsigned int>(number);
    else state.codePage = Utils::CP_ACP;
    return kParseContinue;
}

int32_t UninstallerEncode(std::wstring_view value, ProtocolState& state, const StatusCallback&) {
    const std::wstring name = Utils::Trim(value);
    if (name == L"UTF8") state.codePage = Utils::CP_UTF8;
    else if (name == L"ACP") state.codePage = Utils::CP_ACP;
    return kParseContinue;
}

constexpr wchar_t kInstallFailed[] = L"安装包安装失败";
constexpr wchar_t kUninstallFailed[] = L"安装包卸载失败";

// Tried in this order; the first key a line begins with decides, so
// "UninstExePath=" must come before "UninstExe=".
constexpr Key kInstallerKeys[] = {
    {L"Progress=", &ProgressEvent<IST_CODE_PROGRESS>},
    {L"InstPath=", &TextEvent<IST_INFO_INST_PATH>},
    {L"State=", &StateEvent<IST_CODE_SUCCESS, IST_CODE_FAIL, kInstallFailed>},
    {L"InstallVersion=", &InstallVersion},
    {L"ExePath=", &ExePath},
    {L"StartExe=", &TextEvent<IST_INFO_EXE_PATH>},
    {L"UninstExePath=", &TextEvent<IST_INFO_UNINST_EXE>},
    {L"UninstExe=", &TextEvent<IST_INFO_UNINST_EXE>},
    {L"UninstEp=", &TextEvent<IST_INFO_UNINST_EP>},
    {L"Error=", &ErrorEvent<IST_CODE_FAIL, 1000>},
    {L"TopShowDetention=", &DurationEvent<IST_INFO_TOP_SHOW_DETENTION>},
    {L"FinsihCloseDetention=", &DurationEvent<IST_INFO_FINISH_CLOSE_DETENTION>},
    {L"StartUrl=", &TextEvent<IST_INFO_START_URL>},
    {L"StartupStyle=", &StartupStyle},
    {L"Encode=", &InstallerEncode},
    {L"Message=", &TextEvent<IST_INFO_MESSAGE>},
};

constexpr Key kUninstallerKeys[] = {
    {L"Progress=", &ProgressEvent<UNIST_CODE_PROGRESS>},
    {L"Error=", &ErrorEvent<UNIST_CODE_ERROR, 0>},
    {L"State=", &StateEvent<UNIST_CODE_SUCCESS, UNIST_CODE_ERROR, kUninstallFailed>},
    {L"Encode=", &UninstallerEncode},
};

}  // namespace

int32_t ParseLine(Dialect dialect, std::wstring_view line, ProtocolState& state, const StatusCallback& callback) {
    auto parse = [&](const auto& keys) {
        for (const Key& key : keys) {
            if (line.starts_with(key.name)) return key.handler(line.substr(key.name.size()), state, callback);
        }
        return kParseContinue;
    };
    return dialect == Dialect::Installer ? parse(kInstallerKeys) : parse(kUninstallerKeys);
}

int32_t ParseBlock(Dialect dialect, std::wstring_view block, ProtocolState& state, const StatusCallback& callback) {
    int32_t result = kParseContinue;
    while (!block.empty()) {
        const size_t end = block.find(L'\n');
        const int32_t r = ParseLine(dialect, block.substr(0, end), state, callback);
        if (result == kParseContinue) result = r;
        if (r != kParseContinue && dialect == Dialect::Installer) break;
        if (end == std::wstring_view::npos) break;
        block.remove_prefix(end + 1);
    }
    return result;
}

}  // namespace Install
