#pragma once
// What a person would see of a form, as text: one line per control, indented
// under its parent, with position, size, text and state; then the form's
// other components. Tests compare it and tools print it.

#include <string>

#include "platform/ui/forms.h"

namespace tv {

std::string DumpForm(const TCustomForm& form);

}  // namespace tv
