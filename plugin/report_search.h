#pragma once
// The search of the scanner's report for the line that names the checked file
// and carries the found tag.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system/text.h"

namespace tv {

struct TReportMatch {
  std::string Line;         // the line as the report holds it, without its end
  std::size_t TagPosition;  // 1-based position of the tag's first occurrence
};

// The first line of the report at ReportPath that begins with FileName and
// contains UpperTag, both compared upper-cased by Upper. A line ends at CR, LF
// or CR LF; a NUL byte ends the text; an empty tag never occurs.
//
// The report is streamed: memory grows with its longest line, not its size.
// Raises EFOpenError "Datei <path> kann nicht geöffnet werden" when the report
// cannot be opened for reading.
std::optional<TReportMatch> SearchReport(const std::string& reportPath, std::string_view fileName,
                                         std::string_view upperTag, const sys::TUpperTable& upper);

}  // namespace tv
