#pragma once
// What the mail client gets back from a check, whichever route made it: the
// result code, and after a finding the text in its buffer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

// Result codes of the exported interface.
inline constexpr std::int32_t kResultOk = 0;
inline constexpr std::int32_t kResultFinding = 1;
inline constexpr std::int32_t kResultNotSupported = -1;
inline constexpr std::int32_t kResultNotCarriedOut = -3;

// The host's finding buffer: its other anti-virus plug-ins rely on 1,024
// bytes, so the text is cut to 1,023 characters and a NUL.
inline constexpr std::size_t kVirusNameCapacity = 1024;

// The finding's text as the host shows it: "\n" FileName "\n" Names.
std::string FindingText(std::string_view fileName, std::string_view names);

// Text with its NUL into the host's buffer, cut to kVirusNameCapacity.
void CopyVirusText(const std::string& text, char* virusName);

}  // namespace tv
