#pragma once
// What a person would see of a form, as text: one line per control, indented
// under its parent, with position, size, text and state; then the form's
// other components. Tests compare it and tools print it.

#include <functional>
#include <string>
#include <string_view>

#include "platform/ui/forms.h"

namespace tv {

std::string DumpForm(const TCustomForm& form);
// The same text handed to Write a line at a time (with its line end), so
// that a memo of millions of lines is printed without a copy of all of them.
void DumpForm(const TCustomForm& form, const std::function<void(std::string_view)>& write);

}  // namespace tv
