#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zerin::analytics {

// The one exception type of the library. Every rule violation raises it and the
// tracker wrapper keeps it from reaching the library's callers, so a bad record
// costs that one record and nothing else.
class ZrException final : public std::exception {
public:
    ZrException(std::string message, std::string unit, std::string operation, int line)
        : m_message(std::move(message)), m_unit(std::move(unit)), m_operation(std::move(operation)), m_line(line) {}

    const char* what() const noexcept override { return m_message.c_str(); }
    const std::string& unit() const noexcept { return m_unit; }
    const std::string& operation() const noexcept { return m_operation; }
    int line() const noexcept { return m_line; }
    int64_t code() const noexcept { return m_code; }

private:
    std::string m_message;
    std::string m_unit;
    std::string m_operation;
    int m_line = 0;
    int64_t m_code = -1;
};

}  // namespace zerin::analytics

// Raises a ZrException tagged with the calling unit and operation and the source line.
#define ZR_THROW(unit, operation, message) throw ::zerin::analytics::ZrException((message), (unit), (operation), __LINE__)
