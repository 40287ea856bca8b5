#include "platform/system/command_line.h"

namespace tv::sys {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = line.size();

  // Program name: quotes toggle, backslashes are plain characters.
  {
    std::string program;
    bool inQuotes = false;
    while (i < n && (inQuotes || !IsBlank(line[i]))) {
      if (line[i] == '"') {
        inQuotes = !inQuotes;
      } else {
        program += line[i];
      }
      ++i;
    }
    args.push_back(std::move(program));
  }

  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;

    std::string arg;
    bool inQuotes = false;
    while (i < n) {
      std::size_t backslashes = 0;
      while (i < n && line[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i < n && line[i] == '"') {
        arg.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          arg += '"';
          ++i;
        } else if (inQuotes && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          inQuotes = !inQuotes;
          ++i;
        }
        continue;
      }
      arg.append(backslashes, '\\');
      if (i >= n || (!inQuotes && IsBlank(line[i]))) break;
      arg += line[i];
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos)
    return std::string(argument);
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
    } else {
      // Backslashes count only before a quote: there each one is doubled
      // and the quote itself escaped.
      if (c == '"') quoted.append(backslashes + 1, '\\');
      backslashes = 0;
    }
    quoted += c;
  }
  quoted.append(backslashes, '\\');  // the closing quote must stay a quote
  quoted += '"';
  return quoted;
}

}  // namespace tv::sys
