#include "platform/system/process.h"

#include <windows.h>

namespace tv::sys {

bool CreateChildProcess(char* commandLineBuffer, int showCommand, TProcessInfo& info) {
  info = TProcessInfo{};
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;  // 68 on 32-bit Windows
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION created;
  ZeroMemory(&created, sizeof created);
  if (!::CreateProcessA(nullptr, commandLineBuffer, nullptr, nullptr, FALSE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &created)) {
    return false;
  }
  info.Process = created.hProcess;
  info.Thread = created.hThread;
  info.Pid = static_cast<long>(created.dwProcessId);
  return true;
}

std::uint32_t MsgWaitForProcess(TProcessInfo& info) {
  HANDLE process = info.Process;
  return ::MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE);
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
  info.Process = nullptr;
  info.Thread = nullptr;
}

}  // namespace tv::sys
