#pragma once
// The translator component: a dialog owns one (named "Translator") that
// holds its texts in every language it supports and the named strings its
// code asks for.

#include <functional>
#include <memory>
#include <string>

#include "platform/components/component.h"
#include "translator/translated_strings.h"

namespace tv {

class TTranslator;
using TOnTranslateEvent =
    std::function<void(TTranslator* sender, std::string oldLanguage, std::string newLanguage)>;

// A hook for a design-time about box; it has no behaviour.
class TAboutTranslator : public TObject {
  TV_CLASS(TAboutTranslator, TObject)
};

namespace translator_detail {

// Enters the translator in the process-wide list before the component is
// built and leaves it after the component is gone: the first base of a
// translator is made first and destroyed last.
class TListEntry {
 protected:
  explicit TListEntry(TTranslator* self);
  ~TListEntry();
  TListEntry(const TListEntry&) = delete;
  TListEntry& operator=(const TListEntry&) = delete;

 private:
  TTranslator* self_;
};

}  // namespace translator_detail

class TTranslator : private translator_detail::TListEntry, public TComponent {
  TV_PUBLISHED_CLASS(TTranslator, TComponent)
 public:
  explicit TTranslator(TComponent* owner);
  ~TTranslator() override;

  TAboutTranslator* About() const { return nullptr; }
  TTranslatedStrings& Strings() const { return *strings_; }
  // The name of the current language.
  std::string Language() const;
  // Switches to the language of that name (ignored while the component is
  // read from a stream); ETranslatorError "Unknown language 'Name'" for a
  // name the translator lacks, with nothing changed.
  void SetLanguage(const std::string& name);
  // The common core of a language change: the present texts are collected
  // into the current language, the new one is applied and becomes current,
  // and with PassOn every translator of the application's forms follows.
  // BeforeTranslate and AfterTranslated get the old and the new name. An
  // unknown or the current name does nothing.
  void SwitchLanguage(const std::string& name, bool passOn);
  // Stores the texts the controls show into the current language.
  void CollectTexts();
  // Puts language Index onto the controls.
  void ApplyLanguage(int index);
  // Adopts the application translator's language (unless designing), then
  // applies the current language.
  void Loaded() override;
  // "Translations": the whole data, in the dialog's stored form.
  void DefineProperties(TFiler& filer) override;
  int LanguageIndex() const { return languageIndex_; }
  // Moves the current index only; the controls are not touched.
  void SetLanguageIndex(int index) { languageIndex_ = index; }
  bool TranslateApplication() const { return translateApplication_; }
  void SetTranslateApplication(bool value) { translateApplication_ = value; }
  TOnTranslateEvent BeforeTranslate;
  TOnTranslateEvent AfterTranslated;

  // The version of the stored data last read, as 200 for "2.00"; 0 before.
  int StoredVersion() const { return storedVersion_; }
  // While the stored language list is read, names are not checked.
  bool Reading() const { return reading_; }
  void SetReading(bool reading) { reading_ = reading; }

  // The named string in the current language; "[" + Name + "]" without one.
  std::string GetString(const std::string& name) { return strings_->GetString(name, languageIndex_); }

  // The first translator other than Except whose TranslateApplication is
  // set, or null.
  static TTranslator* ApplicationTranslator(const TTranslator* except);

 private:
  void WriteTranslations(TWriter& writer);
  void WriteTexts(TWriter& writer, const TDataRow& row, bool joined) const;
  void ReadTranslations(TReader& reader);
  void ReadLanguages(TReader& reader, int version);
  void ReadRules(TReader& reader);
  void ReadEntries(TReader& reader, int version);
  void ReadNamedStrings(TReader& reader, int version);
  void ReadTexts(TReader& reader, TDataRow& row, bool joined);
  void ReadOldTexts(std::string_view texts, TDataRow& row);
  void Store(TComponent& component, const std::string& entry, const std::string& text, bool translate);
  // The owner, then what it owns directly, in its order.
  template <class Visit>
  void ForOwnerAndItsComponents(Visit visit);

  bool reading_ = false;
  int storedVersion_ = 0;
  std::unique_ptr<TTranslatedStrings> strings_;
  int languageIndex_ = 0;
  bool translateApplication_ = false;
};

}  // namespace tv
