#pragma once
// Text helpers of the runtime library. Case rules here are ASCII only: the
// locale's conversion belongs to the system services.

#include <string>
#include <string_view>

namespace tv {

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// -1, 0 or 1; ASCII letters compared without case.
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// -1, 0 or 1, byte by byte.
int CompareStr(std::string_view a, std::string_view b);

// Removes characters up to the blank (control characters included).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

}  // namespace tv
