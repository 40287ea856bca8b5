#pragma once
// The check of one file: the settings read afresh, the route they name
// chosen, the file checked, the verdict handed back to the host and logged.

#include <cstdint>
#include <string>

#include "plugin/host_answer.h"

namespace tv {

// Checks FileName with the settings and log in HostDirectory. Writes the
// finding's text into VirusName (at most kVirusNameCapacity bytes) only when
// the route names the finding. Returns 0 clean, 1 finding, -3 not carried
// out. Never throws.
std::int32_t CheckFile(const char* fileName, char* virusName, const std::string& hostDirectory) noexcept;

}  // namespace tv
