#pragma once
// Paths handed to the wide file API. The plug-in's paths arrive as ANSI text;
// the ANSI file functions stop at 259 characters, while the scanner (whose C
// runtime uses the wide API) writes longer ones. Every file operation of this
// build therefore goes through the names made here.

#include <optional>
#include <string>
#include <string_view>

namespace tv::sys::win32 {

// ANSI text of the system's code page, as wide text.
std::wstring Widen(std::string_view ansi);

// Wide text as ANSI text of the system's code page; nothing when a character
// has no ANSI form (the name would then denote another file).
std::optional<std::string> Narrow(std::wstring_view wide);

// The full name as the system resolves it (relative parts, trailing blanks and
// dots of a name dropped), with the "\\?\" prefix that lifts the length limit.
// The prefix also turns resolution off, which is why the name is resolved
// first: the scanner, given the plain name, resolves it the same way.
std::wstring ExtendedPath(const std::string& path);

}  // namespace tv::sys::win32
