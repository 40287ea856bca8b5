#pragma once
// Opening a document or an address with the program the system associates
// with it (a mail program for "mailto:", a browser for "http://").

#include <functional>
#include <string>

namespace tv::sys {

inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

struct TShellOpen {
  void* Window = nullptr;  // the dialog's window, or null
  std::string Verb, File, Parameters, Directory;
  int ShowCommand = kShowNormal;
};

// ShellExecuteA on Windows; on POSIX the desktop's opener (xdg-open) is
// started and not waited for. The result is not reported: a link that
// cannot be opened simply does not open.
void ShellOpen(const TShellOpen& request);

// Tests record requests instead of opening a browser; the hook in place is
// returned so that it can be put back.
using TShellOpenHook = std::function<void(const TShellOpen&)>;
TShellOpenHook SetShellOpenHook(TShellOpenHook hook);

}  // namespace tv::sys
