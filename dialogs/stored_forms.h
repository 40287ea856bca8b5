#pragma once
// The dialogs' form descriptions, built into the library from
// dialogs/forms/*.dfm.

namespace tv {

// Registers each form under its class name; once is enough, again is harmless.
void RegisterStoredForms();

}  // namespace tv
