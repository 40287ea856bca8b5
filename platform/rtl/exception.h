#pragma once
// The errors that this code base raises with a message: one hierarchy rooted
// at Exception, whose Message() is the exact text.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace tv {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A text that is no number, date or time.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Lists: an index out of bounds, an insertion into a sorted list, a duplicate.
class EListError : public Exception {
 public:
  using Exception::Exception;
};
class EStringListError : public EListError {
 public:
  using EListError::EListError;
};

std::string ListIndexErrorText(std::int64_t index);  // "List index out of bounds (%d)"
inline constexpr const char* kSortedListErrorText = "Operation not allowed on sorted list";
inline constexpr const char* kDuplicateStringText = "String list does not allow duplicates";

// Arithmetic on integers and on floating-point numbers.
class EDivByZero : public Exception {
 public:
  EDivByZero() : Exception("Division by zero") {}
};
class EZeroDivide : public Exception {
 public:
  EZeroDivide() : Exception("Floating point division by zero") {}
};

// A floating-point value that has no integer or currency form (too large,
// not a number).
class EInvalidOp : public Exception {
 public:
  EInvalidOp() : Exception("Invalid floating point operation") {}
};

// A virtual operation that a class was meant to override and did not.
class EAbstractError : public Exception {
 public:
  EAbstractError() : Exception("Abstract Error") {}
};

// Streams and component streams.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
 public:
  EReadError() : EStreamError("Invalid property value") {}
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// A broken precondition: a programming error, named with its source unit and
// line so that it can be found.
class EAssertionFailed : public Exception {
 public:
  EAssertionFailed(std::string message, std::string unitName, std::uint32_t line)
      : Exception(std::move(message)), unitName_(std::move(unitName)), line_(line) {}
  const std::string& UnitName() const noexcept { return unitName_; }
  std::uint32_t Line() const noexcept { return line_; }

 private:
  std::string unitName_;
  std::uint32_t line_;
};

// Raises EAssertionFailed(Message, UnitName, caller's line) unless Condition.
// The line comes from the compiler builtin rather than std::source_location,
// which the clang of the fuzzing build cannot compile with this library.
inline void Require(bool condition, std::string_view message, std::string_view unitName,
                    std::uint32_t line = __builtin_LINE()) {
  if (!condition) throw EAssertionFailed(std::string(message), std::string(unitName), line);
}

}  // namespace tv
