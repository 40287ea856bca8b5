#pragma once
// The check of one file by ClamAV's daemon: the "Scanner" setting
// "clamd://ADDRESS[,ADDRESS...]" streams the file to the first daemon that
// answers, instead of starting a scanner. No process, no report file; Hide,
// Options and FoundTag do not apply.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tv {

// The server list of a "clamd://" setting (scheme in any letter case), or
// nothing for any other setting.
std::optional<std::string> DaemonServersOf(std::string_view scanner);

// 0 clean; 1 a finding, whose text ("\n" FileName "\n" NAME) goes to
// VirusName and whose line ("FILE ... Found the NAME", as a scanner's report
// gives it) to the log; -3 for an unusable server list, a file that cannot
// be read, an error or no answering server, with nothing logged. The
// caller's windows stay painted while it waits. Never throws.
std::int32_t CheckWithDaemon(const std::string& fileName, const std::string& servers, char* virusName,
                             const std::string& hostDirectory) noexcept;

}  // namespace tv
