#pragma once
// A child process as an owner: started from a command line, waited for while
// the caller's windows stay painted, its standard output read through a pipe
// when asked, its handles closed when it goes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/system/deadline.h"
#include "platform/system/process.h"

namespace tv::sys {

class TChildProcess {
 public:
  // How a wait ended.
  enum class TEnd { Ended, TimedOut, OutputOverflowed, Failed };

  TChildProcess() = default;  // no process
  // Starts CommandLine (Windows command-line syntax; the program is its
  // first token) in a console of its own shown as ShowCommand. With
  // KeepOutput, its standard output and error go to a pipe and the wait
  // keeps at most that many bytes of them. Started() tells whether it runs.
  TChildProcess(const std::string& commandLine, int showCommand,
                std::optional<std::size_t> keepOutput = std::nullopt);
  TChildProcess(TChildProcess&& other) noexcept;
  TChildProcess& operator=(TChildProcess&& other) noexcept;
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;
  // Closes the handles; a process still running is not ended by it.
  ~TChildProcess();

  bool Started() const { return started_; }
  // Until the process has ended, paint messages handled meanwhile; with a
  // Deadline, at most until it has passed. With a pipe, the output is read
  // meanwhile, and the wait ends when it would exceed what is kept (the
  // bytes beyond are dropped).
  TEnd Wait(const TDeadline* deadline = nullptr);
  // Ends the process if it still runs and waits until it is gone. True when
  // it has ended.
  bool End();
  // kStillActive while it runs.
  std::uint32_t ExitCode();
  const std::string& Output() const { return output_; }

 private:
  // Reads what the pipe holds now; false once the output is over its bound.
  bool ReadOutput();
  void Close();

  TProcessInfo info_;
  bool started_ = false;
  std::optional<std::size_t> keepOutput_;
  std::string output_;
};

}  // namespace tv::sys
