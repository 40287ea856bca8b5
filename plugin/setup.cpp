#include "plugin/setup.h"

#include "dialogs/dialog_classes.h"
#include "platform/system/files.h"
#include "platform/ui/backend.h"
#include "platform/ui/forms.h"
#include "plugin/scan_log.h"
#include "plugin/settings.h"
#include "translator/app_translator.h"
#include "translator/translator_library.h"

namespace tv {

TOptionsValues TPluginOptionsStore::Read() {
  const TPluginSettings settings = ReadDialogSettings(hostDirectory_);
  return {settings.Scanner, settings.Hide, settings.Options};
}

void TPluginOptionsStore::Write(const TOptionsValues& values) {
  TPluginSettings settings;
  settings.Scanner = values.Scanner;
  settings.Hide = values.Hide;
  settings.Options = values.Options;
  WriteDialogSettings(hostDirectory_, settings);
}

bool TPluginOptionsStore::LogExists() {
  return sys::FileExists(LogFilePath(hostDirectory_));
}

bool TPluginOptionsStore::ReadLog(std::string& text) {
  return tv::ReadLog(hostDirectory_, text);
}

void TPluginOptionsStore::DeleteLog() {
  sys::DeleteFileAt(LogFilePath(hostDirectory_));
}

void RunSetup(const std::string& hostDirectory) {
  RegisterDialogClasses();
  const TReleasedForm<TwTevrinBAVOptions> dialog(CreateForm<TwTevrinBAVOptions>().release());
  TPluginOptionsStore store(hostDirectory);
  dialog->Execute(store);
}

void ShutdownSetup() {
  // Released forms first: their translators leave the lists freed after.
  ShutdownUiBackend();
  ShutdownApplication();
  ShutdownTranslatorList();
  try {
    FinalizeTranslatorLibrary();
  } catch (const ETranslatorError&) {
    // A form that someone else still holds keeps its translator's tables.
  }
}

}  // namespace tv
