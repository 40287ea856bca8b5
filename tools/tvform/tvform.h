#pragma once
// tvform: shows, converts and edits stored forms and the translations in
// them. The command runs in the process of its caller so that tests can
// drive it; main() hands it the command line.

#include <iosfwd>
#include <string>
#include <vector>

namespace tv::tvform {

// Exit codes: the operation was done, something named was not found, the
// input or the command line was not usable.
enum TExitCode : int { ecOk = 0, ecNotFound = 1, ecBadInput = 2 };

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Windows-1252 texts of the forms as UTF-8 and back; false when the UTF-8
// text holds a character the code page lacks, or is no UTF-8.
std::string AnsiToUtf8(const std::string& ansi);
bool Utf8ToAnsi(const std::string& utf8, std::string& ansi);

}  // namespace tv::tvform
