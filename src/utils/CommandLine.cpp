#include "utils/CommandLine.h"

#include "platform/CommandLineSplit.h"
#include "utils/Text.h"

namespace Utils {

CommandLine::CommandLine(const std::wstring& commandLine) : CommandLine(Platform::SplitCommandLine(commandLine)) {}

CommandLine::CommandLine(const std::vector<std::wstring>& arguments)
{
    for (const std::wstring& argument : arguments) Add(argument);
}

CommandLine CommandLine::FromProcess() { return CommandLine(Platform::GetProcessCommandLine()); }

void CommandLine::Add(const std::wstring& argument)
{
    std::wstring key = argument;
    std::wstring value;
    if (!argument.empty() && argument[0] == L'-') {
        auto eq = argument.find(L'=');
        if (eq != std::wstring::npos) {
            key = argument.substr(0, eq);
            value = argument.substr(eq + 1);
        }
    }
    m_values.emplace(std::move(key), std::move(value));  // keeps the first occurrence
}

std::wstring CommandLine::GetString(const std::wstring& key) const
{
    auto it = m_values.find(key);
    return it == m_values.end() ? std::wstring() : it->second;
}

int32_t CommandLine::GetInt(const std::wstring& key) const
{
    int32_t value = 0;
    ParseInt32(GetString(key), value);  // out of range saturates, like the standard conversion
    return value;
}

bool CommandLine::GetBool(const std::wstring& key) const
{
    auto it = m_values.find(key);
    return it != m_values.end() && it->second == L"true";
}

double CommandLine::GetDouble(const std::wstring& key, double fallback) const
{
    auto it = m_values.find(key);
    if (it == m_values.end()) return fallback;
    double value = 0.0;
    return ParseDouble(it->second, value) == NumberParse::Ok ? value : fallback;
}

}  // namespace Utils
