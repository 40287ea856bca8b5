#include "platform/system/child_process.h"

#include <utility>
#include <vector>

namespace tv::sys {

TChildProcess::TChildProcess(const std::string& commandLine, int showCommand,
                             std::optional<std::size_t> keepOutput)
    : keepOutput_(keepOutput) {
  if (commandLine.size() + 1 > kMaxCommandLine) return;
  // Process creation may write into the command line: it gets its own copy.
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  started_ = CreateChildProcess(buffer.data(), showCommand, info_, keepOutput_.has_value());
}

TChildProcess::TChildProcess(TChildProcess&& other) noexcept
    : info_(std::exchange(other.info_, TProcessInfo{})),
      started_(std::exchange(other.started_, false)),
      keepOutput_(other.keepOutput_),
      output_(std::move(other.output_)) {}

TChildProcess& TChildProcess::operator=(TChildProcess&& other) noexcept {
  if (this != &other) {
    Close();
    info_ = std::exchange(other.info_, TProcessInfo{});
    started_ = std::exchange(other.started_, false);
    keepOutput_ = other.keepOutput_;
    output_ = std::move(other.output_);
  }
  return *this;
}

TChildProcess::~TChildProcess() {
  Close();
}

void TChildProcess::Close() {
  if (started_) CloseProcessHandles(info_);
  started_ = false;
}

bool TChildProcess::ReadOutput() {
  char buffer[4096];
  std::size_t got = 0;
  while (ReadChildOutput(info_, buffer, sizeof buffer, got) == TPipeRead::Data) {
    if (output_.size() + got > *keepOutput_) {
      output_.append(buffer, *keepOutput_ - output_.size());
      return false;
    }
    output_.append(buffer, got);
  }
  return true;
}

TChildProcess::TEnd TChildProcess::Wait(const TDeadline* deadline) {
  if (!started_) return TEnd::Failed;
  for (;;) {
    if (keepOutput_ && !ReadOutput()) return TEnd::OutputOverflowed;
    // A pipe is not waited on with the process: it is read between slices.
    std::uint32_t wait = kWaitForever;
    if (deadline != nullptr)
      wait = keepOutput_ ? deadline->Slice() : deadline->MillisecondsLeft();
    else if (keepOutput_)
      wait = kPaintSliceMs;
    const std::uint32_t result = MsgWaitForProcess(info_, wait);
    if (result == kWaitFailed) return TEnd::Failed;
    if (result == kWaitMessages) DispatchPaintMessages();
    if (result == kWaitProcessEnded) {
      // What it wrote before it ended is in the pipe now.
      if (keepOutput_ && !ReadOutput()) return TEnd::OutputOverflowed;
      return TEnd::Ended;
    }
    if (result == kWaitTimedOut && deadline != nullptr && deadline->Passed()) return TEnd::TimedOut;
  }
}

bool TChildProcess::End() {
  return started_ && EndChildProcess(info_);
}

std::uint32_t TChildProcess::ExitCode() {
  return started_ ? GetProcessExitCode(info_) : kStillActive;
}

}  // namespace tv::sys
