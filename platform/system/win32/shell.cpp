#include <windows.h>

#include <shellapi.h>

#include "platform/system/shell.h"

namespace tv::sys {

void OpenWithSystem(const TShellOpen& request) {
  auto text = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  ShellExecuteA(static_cast<HWND>(request.Window), text(request.Verb), request.File.c_str(),
                text(request.Parameters), text(request.Directory), request.ShowCommand);
}

}  // namespace tv::sys
