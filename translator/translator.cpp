#include "translator/translator.h"

#include <algorithm>

#include "platform/components/properties.h"
#include "platform/rtl/thread_confinement.h"

namespace tv {

namespace translator_detail {

namespace {
// Translators belong to dialogs, made and freed on the thread of the
// dialogs: the list of live ones is not guarded; debug builds check it.
TThreadConfinement& TranslatorsThread() {
  static TThreadConfinement confinement("The list of live translators");
  return confinement;
}
}  // namespace

TListEntry::TListEntry(TTranslator* self) : self_(self) {
  TranslatorsThread().Check();
  InitializeTranslatorLibrary().Translators.push_back(self);
}

TListEntry::~TListEntry() {
  if (TTranslatorShared* shared = FindTranslatorLibrary())
    shared->Translators.erase(std::remove(shared->Translators.begin(), shared->Translators.end(), self_),
                              shared->Translators.end());
}

}  // namespace translator_detail

void TTranslator::PublishOwn() {
  using T = TTranslator;
  RegisterProperties(
      StaticClassInfo(),
      {ObjectProperty("About", &T::About),
       ObjectProperty("Strings", static_cast<TTranslatedStrings& (T::*)() const>(&T::Strings)),
       StringProperty("Language", &T::Language, &T::SetLanguage),
       WithDefault(
           BooleanProperty("TranslateApplication", &T::TranslateApplication, &T::SetTranslateApplication), 0),
       EventProperty("BeforeTranslate", &T::BeforeTranslate),
       EventProperty("AfterTranslated", &T::AfterTranslated)});
}

TTranslator::TTranslator(TComponent* owner) : TListEntry(this), TComponent(owner) {
  strings_ = std::make_unique<TTranslatedStrings>(*this);
}

TTranslator::~TTranslator() = default;

std::string TTranslator::Language() const {
  return languageIndex_ >= 0 && languageIndex_ < strings_->LanguageCount()
             ? strings_->LanguageName(languageIndex_)
             : std::string();
}

TTranslator* TTranslator::ApplicationTranslator(const TTranslator* except) {
  for (TTranslator* t : InitializeTranslatorLibrary().Translators)
    if (t != except && t->translateApplication_) return t;
  return nullptr;
}

}  // namespace tv
