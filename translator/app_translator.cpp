#include "translator/app_translator.h"

#include "platform/rtl/process_object.h"

namespace tv {

std::string TtvTranslatorList::ApplicationLanguageName() const {
  return language_ == tlEnglish ? "English" : "Deutsch";
}

namespace {
// Not destroyed at the end of the process: translators of dialogs still
// alive then leave it.
constinit TProcessObject<TtvTranslatorList> translators;
}  // namespace

TtvTranslatorList& TranslatorList() {
  return translators.Get([] { return std::make_unique<TtvTranslatorList>(); });
}

void ShutdownTranslatorList() {
  translators.Free();
}

TtvTranslator::TtvTranslator(TComponent* owner) : TTranslator(owner) {
  TranslatorList().Add(this);
}

TtvTranslator::~TtvTranslator() {
  if (TtvTranslatorList* list = translators.Find()) list->Remove(this);
}

void TtvTranslator::Loaded() {
  TTranslator::Loaded();
  if (InState(csDesigning)) return;
  try {
    SetLanguage(TranslatorList().ApplicationLanguageName());
  } catch (const std::exception&) {
    // A dialog without the application's language shows its stored one.
  }
}

}  // namespace tv
