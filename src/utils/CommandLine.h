#pragma once
// The parsed command line: "-key=value" arguments as an ordered map. The first
// occurrence of a key wins; keys compare exactly (case-sensitive).
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Utils {

class CommandLine final {
public:
    // Splits the text with the system's argument rules; the first argument is the program.
    explicit CommandLine(const std::wstring& commandLine);
    explicit CommandLine(const std::vector<std::wstring>& arguments);
    // The running process's own command line.
    static CommandLine FromProcess();

    bool find(const std::wstring& key) const { return m_values.count(key) != 0; }
    std::wstring GetString(const std::wstring& key) const;
    // Decimal after optional white space, rest ignored; 0 when absent or not a number.
    int32_t GetInt(const std::wstring& key) const;
    // True only for exactly "true".
    bool GetBool(const std::wstring& key) const;
    // The fallback when absent, not a number, or too large for a double.
    double GetDouble(const std::wstring& key, double fallback) const;

    const std::map<std::wstring, std::wstring>& Values() const { return m_values; }

private:
    void Add(const std::wstring& argument);

    std::map<std::wstring, std::wstring> m_values;
};

}  // namespace Utils
