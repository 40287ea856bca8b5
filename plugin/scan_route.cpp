#include "plugin/scan_route.h"

#include "plugin/host_answer.h"
#include "plugin/scan_log.h"
#include "plugin/settings.h"

namespace tv {

TFindingReport NamedFinding(const std::string& fileName, const std::string& names) {
  return {names, fileName + " ... " + kDefaultFoundTag + names};
}

std::int32_t HandBack(const std::string& fileName, const TVerdict& verdict, char* virusName,
                      const std::string& hostDirectory) noexcept {
  switch (verdict.Kind) {
    case TVerdict::TKind::Clean: return kResultOk;
    case TVerdict::TKind::NotCarriedOut: return kResultNotCarriedOut;
    case TVerdict::TKind::Finding: break;
  }
  if (verdict.Report) {
    try {
      if (virusName != nullptr) CopyVirusText(FindingText(fileName, verdict.Report->Names), virusName);
      WriteLog(hostDirectory, verdict.Report->LogLine);
    } catch (...) {
    }
  }
  return kResultFinding;
}

}  // namespace tv
