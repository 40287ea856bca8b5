#include "translator/app_translator.h"

namespace tv {

std::string TtvTranslatorList::ApplicationLanguageName() const {
  return language_ == tlEnglish ? "English" : "Deutsch";
}

// Never destroyed: translators of dialogs still alive at exit leave it.
TtvTranslatorList& TranslatorList() {
  static auto* list = new TtvTranslatorList();
  return *list;
}

TtvTranslator::TtvTranslator(TComponent* owner) : TTranslator(owner) {
  TranslatorList().Add(this);
}

TtvTranslator::~TtvTranslator() {
  TranslatorList().Remove(this);
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
