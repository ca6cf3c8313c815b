#pragma once
// Splitting a command-line text into arguments with the system's rules, and
// the inverse quoting, so that a text built by QuoteArguments splits back into
// exactly the same arguments.
#include <string>
#include <vector>

namespace Platform {

// The first argument (the program) ends at the closing quote or the first blank
// and takes no backslash escapes. For the others: blanks (space, tab) separate
// arguments outside quotes; 2n backslashes before a quote give n backslashes and
// the quote toggles quoting; 2n+1 give n backslashes and a literal quote;
// backslashes elsewhere are literal; inside quotes a doubled quote gives a literal
// quote and ends the quoted part.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

std::wstring QuoteArgument(const std::wstring& argument);
std::wstring QuoteArguments(const std::vector<std::wstring>& arguments);

// The command line of the running process, rebuilt from its arguments.
std::wstring GetProcessCommandLine();

}  // namespace Platform
