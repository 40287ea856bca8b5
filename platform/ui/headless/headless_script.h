#pragma once
// Steps for the headless backend from the environment: how a terminal
// operates the dialogs of a plug-in library that it cannot reach in-process
// (bavhost's "setup"). TV_UI_SCRIPT holds one step per line:
//
//   set NAME=VALUE   types VALUE into an edit, or checks a check box (1) or
//                    clears it (0)
//   click NAME       clicks a button or a check box, or shows a page
//   file PATH        the answer of the next open-file dialog; "file" alone
//                    cancels it
//
// The first form shown modally is operated by the steps, then printed to
// standard output as its dump and closed (with Cancel unless a step gave it
// a result). Forms it opens in turn are printed and closed at once. A step
// that cannot be done is reported on standard error and ends the steps.

#include <optional>
#include <string>

#include "platform/ui/headless/headless_backend.h"

namespace tv {

inline constexpr const char* kUiScriptVariable = "TV_UI_SCRIPT";

// The drivers of Script's steps; a step of no known kind is refused with
// EInvalidOperation naming it.
THeadlessDrivers ScriptDrivers(const std::string& script);

// The drivers of TV_UI_SCRIPT, or none when it is not set.
std::optional<THeadlessDrivers> ScriptDriversFromEnvironment();

}  // namespace tv
