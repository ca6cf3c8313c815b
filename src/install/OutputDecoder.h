#pragma once
// Turns whole lines of a child's output into wide text, line by line as the
// protocol reads them, but decoding a whole run of lines at once: converting
// each line by itself costs more than parsing it. When a line switches the
// code page ("Encode="), the lines after it are decoded anew with the new one.
#include <functional>
#include <string_view>

namespace Install {

// Returns true to stop.
using WideLineReader = std::function<bool(std::wstring_view line)>;

// `lines` holds whole lines ("\n"-separated, the last may lack its end).
// codePage is read again after every line. A zero byte ends its line's text,
// as the system converters stop there. Returns true when the reader stopped.
bool DecodeLines(std::string_view lines, const unsigned int& codePage, const WideLineReader& reader);

}  // namespace Install
