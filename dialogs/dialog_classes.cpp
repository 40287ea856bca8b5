#include "dialogs/dialog_classes.h"

#include "dialogs/about_dialogs.h"
#include "dialogs/options_dialog.h"
#include "dialogs/project_info.h"
#include "dialogs/stored_forms.h"
#include "platform/components/class_registry.h"
#include "translator/translator_library.h"

namespace tv {

namespace {

bool RegisterOnce() {
  RegisterStoredForms();
  // The About dialogs' forms carry their translators.
  InitializeTranslatorLibrary();
  RegisterComponentClass<TwTevrinAbout>();
  RegisterComponentClass<TwTevrinAboutV2>();
  RegisterComponentClass<TwTevrinBAVOptions>();
  RegisterComponentClass<TTvProjectInfo>();
  return true;
}

}  // namespace

void RegisterDialogClasses() {
  // Once: a form already converted to its stream keeps it.
  [[maybe_unused]] static const bool registered = RegisterOnce();
}

}  // namespace tv
