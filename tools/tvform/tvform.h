#pragma once
// tvform: shows, converts and edits stored forms and the translations in
// them. The command runs in the process of its caller so that tests can
// drive it; main() hands it the command line.

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/rtl/code_page.h"

namespace tv::tvform {

// Exit codes: the operation was done, something named was not found, the
// input or the command line was not usable.
enum TExitCode : int { ecOk = 0, ecNotFound = 1, ecBadInput = 2 };

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The forms' Windows-1252 texts as UTF-8 and back.
using tv::AnsiToUtf8;
using tv::Utf8ToAnsi;

}  // namespace tv::tvform
