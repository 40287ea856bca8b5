#include "data/elements/data_error.h"

namespace tv {

// Set by tests and tools before they start threads, read-only afterwards.
TDataErrorHook& DataErrorHook() {
  static TDataErrorHook hook;
  return hook;
}

void ReportDataError(TDataErrorSeverity severity, const std::string& category, const std::string& message) {
  if (const TDataErrorHook& hook = DataErrorHook()) hook(severity, category, message);
  if (severity == desFatal) throw EDataError(category, message);
}

}  // namespace tv
