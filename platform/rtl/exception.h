#pragma once
// Root of the errors that this code base raises with a message.

#include <exception>
#include <string>
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

// A file that could not be opened.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
};

// A file that could not be written.
class EWriteError : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace tv
