#pragma once
// Splitting a Windows command line into arguments by the rules of the
// Microsoft C runtime, for the POSIX build that has to hand argv to exec.

#include <string>
#include <string_view>
#include <vector>

namespace tv::sys {

// The program name ends at the first blank or tab outside double quotes and
// takes quotes literally as toggles. The other arguments follow the runtime's
// backslash rules: 2n backslashes and a quote give n backslashes and toggle
// quoting; 2n+1 backslashes and a quote give n backslashes and a literal
// quote; a doubled quote inside quotes is a literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// Argument as the splitter above gives it back unchanged (for any argument
// after the program name): as it stands when it needs no quotes, otherwise in
// quotes with the backslashes before a quote, and before the closing quote,
// doubled and inner quotes escaped.
std::string QuoteArgument(std::string_view argument);

}  // namespace tv::sys
