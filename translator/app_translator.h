#pragma once
// The translator the dialogs carry: every one follows the application's
// language when its dialog is loaded.

#include <string>

#include "platform/rtl/lists.h"
#include "translator/translator.h"

namespace tv {

enum class TtvLanguage : unsigned char { tlDeutsch, tlEnglish };
using enum TtvLanguage;

// The live dialog translators, in order of creation (not owned), and the
// application's language, "Deutsch" for the life of the process.
class TtvTranslatorList : public TList {
  TV_CLASS(TtvTranslatorList, TList)
 public:
  TtvLanguage ApplicationLanguage() const { return language_; }
  std::string ApplicationLanguageName() const;
  // The plug-in never changes it; tests and tools show the dialogs in the
  // other language.
  void SetApplicationLanguage(TtvLanguage language) { language_ = language; }

 private:
  TtvLanguage language_ = tlDeutsch;
};

// The process's list, made on first use (from any thread); its entries
// come and go with dialogs, on their thread only.
TtvTranslatorList& TranslatorList();
// For a library being unloaded: frees the list (and the application's
// language with it); the next use makes a new one.
void ShutdownTranslatorList();

class TtvTranslator : public TTranslator {
  TV_CLASS(TtvTranslator, TTranslator)
 public:
  explicit TtvTranslator(TComponent* owner);
  ~TtvTranslator() override;
  // After the stored data: the application's language, unless designing. A
  // translator without that language keeps its own, silently.
  void Loaded() override;
};

}  // namespace tv
