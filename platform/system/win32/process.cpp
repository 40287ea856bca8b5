#include "platform/system/process.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/system/files.h"
#include "platform/system/program_search.h"

namespace tv::sys {

static_assert(kWaitProcessEnded == WAIT_OBJECT_0 && kWaitMessages == WAIT_OBJECT_0 + 1 &&
              kWaitTimedOut == WAIT_TIMEOUT && kWaitFailed == WAIT_FAILED && kWaitForever == INFINITE);

namespace {

// The child's ends of an output pipe: the write end for its standard output
// and error, the NUL device for its input; inheritable, and closed here
// once the child has its copies.
struct TChildEnds {
  HANDLE Write = nullptr;
  HANDLE Input = nullptr;
  ~TChildEnds() {
    if (Write) ::CloseHandle(Write);
    if (Input && Input != INVALID_HANDLE_VALUE) ::CloseHandle(Input);
  }
};

HANDLE OutputPipe(const TProcessInfo& info) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(info.Output));
}

// A pipe whose read end stays with us (not inherited).
bool CreateOutputPipe(HANDLE& read, TChildEnds& ends) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  if (!::CreatePipe(&read, &ends.Write, &inherit, 0)) return false;
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  ends.Input = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                             0, nullptr);
  if (ends.Input != INVALID_HANDLE_VALUE) return true;
  ::CloseHandle(read);
  return false;
}

}  // namespace

bool CreateChildProcess(char* commandLineBuffer, int showCommand, TProcessInfo& info, bool pipeOutput) {
  info = TProcessInfo{};
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;  // 68 on 32-bit Windows
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  HANDLE read = nullptr;
  TChildEnds ends;
  if (pipeOutput) {
    if (!CreateOutputPipe(read, ends)) return false;
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdInput = ends.Input;
    startup.hStdOutput = ends.Write;
    startup.hStdError = ends.Write;
  }
  PROCESS_INFORMATION created;
  ZeroMemory(&created, sizeof created);
  if (!::CreateProcessA(nullptr, commandLineBuffer, nullptr, nullptr, pipeOutput ? TRUE : FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &created)) {
    if (read) ::CloseHandle(read);
    return false;
  }
  info.Process = created.hProcess;
  info.Thread = created.hThread;
  info.Pid = static_cast<long>(created.dwProcessId);
  if (read) info.Output = static_cast<long long>(reinterpret_cast<std::intptr_t>(read));
  return true;
}

TPipeRead ReadChildOutput(TProcessInfo& info, char* buffer, std::size_t size, std::size_t& got) {
  got = 0;
  if (info.Output == -1) return TPipeRead::Ended;
  const HANDLE pipe = OutputPipe(info);
  // An anonymous pipe cannot be read without blocking: only what is there.
  DWORD available = 0;
  if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return TPipeRead::Ended;
  if (available == 0) return TPipeRead::Empty;
  DWORD read = 0;
  const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, available));
  if (!::ReadFile(pipe, buffer, wanted, &read, nullptr)) return TPipeRead::Ended;
  got = read;
  return TPipeRead::Data;
}

std::uint32_t MsgWaitForProcess(TProcessInfo& info, std::uint32_t timeoutMs) {
  HANDLE process = info.Process;
  return ::MsgWaitForMultipleObjects(1, &process, FALSE, timeoutMs, QS_PAINT | QS_SENDMESSAGE);
}

bool EndChildProcess(TProcessInfo& info) {
  if (info.Process == nullptr) return false;
  if (::WaitForSingleObject(info.Process, 0) == WAIT_OBJECT_0) return true;
  ::TerminateProcess(info.Process, 1);
  return ::WaitForSingleObject(info.Process, INFINITE) == WAIT_OBJECT_0;
}

void DispatchPaintMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
}

std::uint32_t GetProcessExitCode(TProcessInfo& info) {
  DWORD code = STILL_ACTIVE;
  if (!::GetExitCodeProcess(info.Process, &code)) return kStillActive;
  return code;
}

void CloseProcessHandles(TProcessInfo& info) {
  if (info.Process) ::CloseHandle(info.Process);
  if (info.Thread) ::CloseHandle(info.Thread);
  if (info.Output != -1) ::CloseHandle(OutputPipe(info));
  info.Process = nullptr;
  info.Thread = nullptr;
  info.Output = -1;
}

}  // namespace tv::sys

namespace tv::sys::search {

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::string FolderOf(UINT(WINAPI* query)(LPSTR, UINT)) {
  char buffer[MAX_PATH + 1];
  UINT got = query(buffer, sizeof buffer);
  return got == 0 || got >= sizeof buffer ? std::string() : std::string(buffer, got);
}

std::vector<std::string> SearchPathFolders() {
  DWORD size = ::GetEnvironmentVariableA("PATH", nullptr, 0);
  if (size == 0) return {};
  std::string list(size, '\0');
  DWORD got = ::GetEnvironmentVariableA("PATH", list.data(), size);
  list.resize(got < size ? got : 0);
  return RootedFolders(list, ';');
}

}  // namespace

TNameKind Classify(std::string_view name) {
  if (name.empty()) return TNameKind::Refused;
  if (IsSeparator(name[0])) return TNameKind::Rooted;
  if (name.size() >= 2 && name[1] == ':')
    return name.size() >= 3 && IsSeparator(name[2]) ? TNameKind::Rooted : TNameKind::Refused;
  return name.find_first_of("\\/") == std::string_view::npos ? TNameKind::Bare : TNameKind::WithFolder;
}

std::vector<std::string> SystemFolders() {
  std::vector<std::string> folders;
  const std::string system = FolderOf(::GetSystemDirectoryA);
  const std::string windows = FolderOf(::GetWindowsDirectoryA);
  if (!system.empty()) folders.push_back(system);
  if (!windows.empty()) {
    folders.push_back(Join(windows, "System"));
    folders.push_back(windows);
  }
  for (std::string& folder : SearchPathFolders()) folders.push_back(std::move(folder));
  return folders;
}

std::vector<std::string> FileNames(const std::string& name) {
  std::size_t dot = name.rfind('.');
  std::size_t separator = name.find_last_of("\\/");
  bool hasExtension = dot != std::string::npos && (separator == std::string::npos || dot > separator);
  return {hasExtension ? name : name + ".exe"};
}

bool IsProgramFile(const std::string& path) {
  return FileExists(path);
}

std::string Join(const std::string& folder, const std::string& name) {
  return !folder.empty() && IsSeparator(folder.back()) ? folder + name : folder + "\\" + name;
}

}  // namespace tv::sys::search
