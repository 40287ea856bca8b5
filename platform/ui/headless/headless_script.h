#pragma once
// Steps for the headless backend: how a terminal operates dialogs that it
// cannot reach as objects, those of a plug-in library that it loaded
// (dialog_terminal.h) or its own (bavhost's "about"). One step per line:
//
//   set NAME=VALUE   types VALUE into an edit, or checks a check box (1) or
//                    clears it (0)
//   click NAME       clicks a button or a check box, or shows a page
//   file PATH        the answer of the next open-file dialog; "file" alone
//                    cancels it
//
// The first form shown modally is operated by the steps, then printed as
// its dump and closed (with Cancel unless a step gave it
// a result). Forms it opens in turn are printed and closed at once. A step
// that cannot be done is reported ("dialog step: " and why) and ends the
// steps.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/headless/headless_backend.h"

namespace tv {

inline constexpr const char* kStepFailed = "dialog step: ";

// Where the dumps (ToError false) and the failed steps go.
using TScriptPrinter = std::function<void(std::string_view text, bool toError)>;
// Standard output and standard error.
TScriptPrinter StandardStreams();

// The drivers of Script's steps; a step of no known kind is refused with
// EInvalidOperation naming it.
THeadlessDrivers ScriptDrivers(const std::string& script, TScriptPrinter print = StandardStreams());

// The drivers of the program's terminal, when the program that loaded this
// code offers one (tvDialogTerminal), else none. Steps it cannot read are
// reported and its forms printed and closed untouched.
std::optional<THeadlessDrivers> HostTerminalDrivers();

}  // namespace tv
