#pragma once
// Child processes: start a command line in a console of its own and wait for
// it while the caller's windows stay painted.
//
// The primitives follow the Windows process API one call each, so that a
// wait loop is spelled out once for both builds; TChildProcess
// (child_process.h) owns a process made with them.

#include <cstdint>
#include <string>

namespace tv::sys {

// Show-window values of the child's console.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;

// Longest command line that process creation accepts, in characters,
// terminating NUL included.
constexpr std::size_t kMaxCommandLine = 32767;

// Exit code that a process still running reports.
constexpr std::uint32_t kStillActive = 259;

struct TProcessInfo {
  void* Process = nullptr;  // Windows: process handle
  void* Thread = nullptr;   // Windows: primary thread handle
  long Pid = 0;             // POSIX: child's process id
  bool Reaped = false;      // POSIX: the exit status below is known
  std::uint32_t ExitStatus = kStillActive;
  long long Output = -1;  // the read end of the output pipe, when piped (a handle or a descriptor)
};

// The full path of the program that Name denotes, or empty when there is
// none: a rooted path as it stands; a relative path with a folder inside
// Folder; a bare name in Folder, then in the system's folders and the
// rooted folders of the search path. Never in the current directory, where a
// stranger's file (an attachment named like the program) may lie.
std::string FindProgram(const std::string& name, const std::string& folder);

// Starts CommandLine (Windows command-line syntax; the program is its first
// token) in a new console with the given show-window value. The buffer must
// be NUL-terminated and writable: Windows may modify it in place.
// Returns false when the process could not be created. With PipeOutput its
// standard output and standard error go to one pipe (read with
// ReadChildOutput) and its standard input is empty.
bool CreateChildProcess(char* commandLineBuffer, int showCommand, TProcessInfo& info,
                        bool pipeOutput = false);

// What ReadChildOutput found in the pipe.
enum class TPipeRead { Data, Empty, Ended };

// Moves what the child has written so far, at most Size bytes, into Buffer
// without blocking; Got is their count. Ended once every writer has closed
// the pipe (or it broke).
TPipeRead ReadChildOutput(TProcessInfo& info, char* buffer, std::size_t size, std::size_t& got);

// Results of MsgWaitForProcess.
constexpr std::uint32_t kWaitProcessEnded = 0;
constexpr std::uint32_t kWaitMessages = 1;
constexpr std::uint32_t kWaitTimedOut = 258;
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;
constexpr std::uint32_t kWaitForever = 0xFFFFFFFFu;

// Blocks until the process has ended (kWaitProcessEnded), paint or sent
// messages wait for the calling thread (kWaitMessages), or TimeoutMs
// milliseconds have passed (kWaitTimedOut); kWaitFailed on error.
std::uint32_t MsgWaitForProcess(TProcessInfo& info, std::uint32_t timeoutMs = kWaitForever);

// Ends a process that has not ended by itself and waits until it is gone,
// so that nothing it holds (files, connections) outlives the call. True
// when the process has ended.
bool EndChildProcess(TProcessInfo& info);

// Removes and dispatches pending paint messages, one at a time, until none is
// left. Sent messages are delivered by the removal itself.
void DispatchPaintMessages();

// The exit code, or kStillActive when the process has not ended.
std::uint32_t GetProcessExitCode(TProcessInfo& info);

// Closes the process handle, then the thread handle, then the output pipe.
void CloseProcessHandles(TProcessInfo& info);

}  // namespace tv::sys
