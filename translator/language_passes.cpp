// Moving texts between a dialog's controls and its translator: collecting
// the present texts into the current language, applying a language, and the
// language change that does both. Controls are reached only through their
// published properties by name: the translator knows no control class.

#include "platform/components/properties.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"
#include "translator/translator.h"

namespace tv {

namespace {

// "X[J]": the entry of line J of the list X.
std::string LineEntry(const std::string& list, int line) {
  return list + "[" + std::to_string(line) + "]";
}

bool Translated(const TDataRow& entry) {
  return entry.GetFBooleanValue(InitializeTranslatorLibrary().TranslateField.get());
}

// Only a different text is written: every write stamps the storage.
void SetText(TDataRow& entry, const TLangNameField& language, const std::string& text) {
  if (entry.GetFStringValue(&language) != text) entry.SetFStringValue(&language, text);
}

// The list a list rule names, when the component's property holds one.
TStrings* ListOf(const TComponent& component, const TRuleUse& use) {
  return use.List != nullptr ? dynamic_cast<TStrings*>(use.List->GetObject(component)) : nullptr;
}

}  // namespace

template <class Visit>
void TTranslator::ForOwnerAndItsComponents(Visit visit) {
  TComponent* owner = Owner();
  if (owner == nullptr) return;
  visit(*owner);
  for (int i = 0; i < owner->ComponentCount(); ++i) visit(*owner->Components(i));
}

// --- collecting

void TTranslator::CollectTexts() {
  TTranslatedProperties cache(*strings_);
  ForOwnerAndItsComponents([&](TComponent& component) {
    for (const TRuleUse& use : cache.UsesFor(component)) {
      if (!use.ListName.empty()) {
        if (TStrings* list = ListOf(component, use))
          for (int line = 0; line < list->Count(); ++line)
            Store(component, LineEntry(use.ListName, line), list->Get(line), use.Translate);
      } else if (use.Text != nullptr && use.Text->GetString) {
        Store(component, use.Property, use.Text->GetString(component), use.Translate);
      }
    }
  });
}

// A new entry starts with the text in every language; an untranslated one
// always carries the present text; a translated one refreshes the current
// language only.
void TTranslator::Store(TComponent& component, const std::string& entryName, const std::string& text,
                        bool translate) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  TDataRow* entry = strings_->FindEntry(&component, entryName);
  if (entry == nullptr) {
    auto row = strings_->NewEntry();
    row->SetFStringValue(shared.ComponentField.get(), component.Name());
    row->SetFStringValue(shared.PropertyField.get(), entryName);
    row->SetFieldValue(shared.PointerField.get(), ObjectValue(&component));
    row->SetFStringValue(shared.ClassField.get(), component.ClassName());
    for (int i = 0; i < strings_->LanguageCount(); ++i)
      row->SetFStringValue(&strings_->LanguageField(i), text);
    row->SetFBooleanValue(shared.TranslateField.get(), translate);
    strings_->AddEntry(std::move(row));
  } else if (!Translated(*entry)) {
    for (int i = 0; i < strings_->LanguageCount(); ++i) SetText(*entry, strings_->LanguageField(i), text);
  } else if (languageIndex_ >= 0 && languageIndex_ < strings_->LanguageCount()) {
    SetText(*entry, strings_->LanguageField(languageIndex_), text);
  }
}

// --- applying

void TTranslator::ApplyLanguage(int index) {
  if (index < 0 || index >= strings_->LanguageCount()) return;
  const TLangNameField* language = &strings_->LanguageField(index);
  TTranslatedProperties cache(*strings_);
  ForOwnerAndItsComponents([&](TComponent& component) {
    for (const TRuleUse& use : cache.UsesFor(component)) {
      if (!use.ListName.empty()) {
        // Lines without a translated entry stay; the list keeps its length.
        if (TStrings* list = ListOf(component, use))
          for (int line = 0; line < list->Count(); ++line)
            if (TDataRow* entry = strings_->FindEntry(&component, LineEntry(use.ListName, line));
                entry != nullptr && Translated(*entry))
              list->Put(line, entry->GetFStringValue(language));
        continue;
      }
      TDataRow* entry = strings_->FindEntry(&component, use.Property);
      if (entry != nullptr && Translated(*entry) && use.Text != nullptr && use.Text->SetString)
        use.Text->SetString(component, entry->GetFStringValue(language));
    }
  });
}

// --- changing the language

void TTranslator::SetLanguage(const std::string& name) {
  if (InState(csReading)) return;  // the stored data sets the current language
  if (strings_->IndexOfLanguage(name) < 0) throw ETranslatorError("Unknown language " + QuotedName(name));
  SwitchLanguage(name, translateApplication_);
}

void TTranslator::SwitchLanguage(const std::string& name, bool passOn) {
  const int index = strings_->IndexOfLanguage(name);
  if (index < 0 || index == languageIndex_) return;
  const std::string old = Language();
  if (BeforeTranslate) BeforeTranslate(this, old, name);
  CollectTexts();
  ApplyLanguage(index);
  languageIndex_ = index;
  if (passOn) {
    // Copies: a translator that follows may change what the forms own.
    std::vector<TComponent*> forms;
    for (int i = 0; i < Application().ComponentCount(); ++i) forms.push_back(Application().Components(i));
    for (TComponent* form : forms) {
      std::vector<TTranslator*> translators;
      for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* t = dynamic_cast<TTranslator*>(form->Components(i))) translators.push_back(t);
      for (TTranslator* t : translators) t->SwitchLanguage(name, false);
    }
  }
  if (AfterTranslated) AfterTranslated(this, old, name);
}

void TTranslator::Loaded() {
  TComponent::Loaded();
  const TTranslator* application = ApplicationTranslator(this);
  if (application != nullptr && !InState(csDesigning)) {
    const int index = strings_->IndexOfLanguage(application->Language());
    languageIndex_ = index >= 0 ? index : 0;
  }
  ApplyLanguage(languageIndex_);
}

}  // namespace tv
