#pragma once
// How a terminal program operates the dialogs of a plug-in library that it
// loaded (bavhost's "setup", the Wine suite's probe): the program exports
// tvDialogTerminal, which hands the library the steps (headless_script.h)
// and the printer of what the dialogs show. The library asks the program
// that loaded it for that export the first time it shows a dialog; a mail
// client exports none, and its users get real windows. Nothing else, the
// environment least of all, switches the plug-in's dialogs to steps.
//
// Both sides are built apart (a tool and a DLL), so this is plain C.

#include <cstddef>

extern "C" {

struct TvDialogTerminal {
  const char* Steps;  // one step per line; empty: every form printed and closed
  // Text of Size bytes in the dialogs' code page (Windows-1252); ToError: a
  // step that could not be done, else a form's dump.
  void (*Print)(const char* text, std::size_t size, int toError);
};

using TvDialogTerminalExport = const TvDialogTerminal* (*)();

}  // extern "C"

namespace tv {

inline constexpr const char* kDialogTerminalExport = "tvDialogTerminal";

// What a program puts before its definition of tvDialogTerminal, so that a
// library it loads can find it: exported from an executable (on Linux the
// executable is also linked with ENABLE_EXPORTS).
#if defined(_WIN32)
#define TV_DIALOG_TERMINAL_EXPORT extern "C" __declspec(dllexport)
#else
#define TV_DIALOG_TERMINAL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

}  // namespace tv
