#pragma once
// How the data engine reports errors in data: one routine with a severity, a
// category word and a message. A host may observe every report; fatal ones
// raise, warnings never interrupt the caller. Programming errors (a missing
// argument) are precondition checks that name the source "DataElements".

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "data/elements/codes.h"
#include "platform/rtl/exception.h"

namespace tv {

// A fatal data error; the category travels with it.
class EDataError : public Exception {
 public:
  EDataError(std::string category, std::string message)
      : Exception(std::move(message)), category_(std::move(category)) {}
  const std::string& Category() const noexcept { return category_; }

 private:
  std::string category_;
};

using TDataErrorHook =
    std::function<void(TDataErrorSeverity severity, const std::string& category, const std::string& message)>;

// The process-wide observer; empty unless a host sets one.
TDataErrorHook& DataErrorHook();

// Tells the hook, then raises EDataError for a fatal report.
void ReportDataError(TDataErrorSeverity severity, const std::string& category, const std::string& message);

inline void RequireElements(bool condition, std::string_view message, std::uint32_t line = __builtin_LINE()) {
  Require(condition, message, "DataElements", line);
}

// The message is Text followed by Number, built only when the check fails:
// these checks sit on every cell access.
inline void RequireElements(bool condition, const char* text, long long number,
                            std::uint32_t line = __builtin_LINE()) {
  if (!condition) [[unlikely]]
    Require(false, std::string(text).append(std::to_string(number)), "DataElements", line);
}

}  // namespace tv
