#pragma once
// Cuts a child's output into whole lines. Pipe reads end anywhere: in the
// middle of a line or of a multi-byte character. The unfinished tail is kept
// as bytes and completed by the next read, so a line is decoded and parsed
// only once it is whole and no character is ever split.
#include <cstddef>
#include <string>
#include <string_view>

namespace Install {

class LineCarrier final {
public:
    // A line without its end that grows beyond this is handed on as it is,
    // so a child that never ends its line cannot make us hold unbounded memory.
    static constexpr size_t kMaxCarry = 1u << 20;

    // Appends bytes and returns the whole lines now available (each ending in
    // "\n"), possibly empty. The returned text is valid until the next call.
    std::string_view Feed(std::string_view bytes);
    // The unfinished tail at the end of the output; clears it.
    std::string TakeRest();

private:
    std::string m_pending;
    std::string m_ready;
};

}  // namespace Install
