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

// A string property the translator may read (and, with a setter, write); a
// translator's own Language is never one.
const TPropertyInfo* TextProperty(const TComponent& component, const std::string& name) {
  if (dynamic_cast<const TTranslator*>(&component) != nullptr && SameText(name, "Language")) return nullptr;
  return FindProperty(component, name, TPropertyKind::pkString);
}

// A string-list property's present list, or null.
TStrings* ListProperty(const TComponent& component, const std::string& name) {
  const TPropertyInfo* p = FindProperty(component, name, TPropertyKind::pkClass);
  return p != nullptr ? dynamic_cast<TStrings*>(p->GetObject(component)) : nullptr;
}

// "X[]" names the list X (anything with "[" counts); the name of line J is
// "X[J]".
bool IsListRule(const std::string& rule, std::string& list) {
  const std::size_t bracket = rule.find('[');
  if (bracket == std::string::npos) return false;
  list = rule.substr(0, bracket);
  return true;
}

std::string LineEntry(const std::string& list, int line) {
  return list + "[" + std::to_string(line) + "]";
}

bool Translated(const TDataRow& entry) {
  return entry.GetFBooleanValue(InitializeTranslatorLibrary().TranslateField.get());
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
  ForOwnerAndItsComponents([&](TComponent& component) { CollectComponent(component, cache); });
}

void TTranslator::CollectComponent(TComponent& component, TTranslatedProperties& cache) {
  const TDataRowList& rules = cache.RulesFor(component);
  const TDataField* translate = InitializeTranslatorLibrary().TranslateField.get();
  for (int r = 0; r < rules.Count(); ++r) {
    const std::string rule = rules.Get(r);
    const bool translated = rules.GetDataRow(r)->GetFBooleanValue(translate);
    std::string listName;
    if (IsListRule(rule, listName)) {
      if (TStrings* list = ListProperty(component, listName))
        for (int line = 0; line < list->Count(); ++line)
          Store(component, LineEntry(listName, line), list->Get(line), translated);
    } else if (const TPropertyInfo* p = TextProperty(component, rule); p != nullptr && p->GetString) {
      Store(component, rule, p->GetString(component), translated);
    }
  }
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
    strings_->Properties().InsertRow(row, paRefuse);
  } else if (!Translated(*entry)) {
    for (int i = 0; i < strings_->LanguageCount(); ++i)
      entry->SetFStringValue(&strings_->LanguageField(i), text);
  } else if (languageIndex_ >= 0 && languageIndex_ < strings_->LanguageCount()) {
    entry->SetFStringValue(&strings_->LanguageField(languageIndex_), text);
  }
}

// --- applying

void TTranslator::ApplyLanguage(int index) {
  if (index < 0 || index >= strings_->LanguageCount()) return;
  TTranslatedProperties cache(*strings_);
  ForOwnerAndItsComponents([&](TComponent& component) { ApplyComponent(component, cache, index); });
}

void TTranslator::ApplyComponent(TComponent& component, TTranslatedProperties& cache, int index) {
  const TLangNameField* language = &strings_->LanguageField(index);
  const TDataRowList& rules = cache.RulesFor(component);
  for (int r = 0; r < rules.Count(); ++r) {
    const std::string rule = rules.Get(r);
    std::string listName;
    if (IsListRule(rule, listName)) {
      // Lines without a translated entry stay; the list keeps its length.
      if (TStrings* list = ListProperty(component, listName))
        for (int line = 0; line < list->Count(); ++line)
          if (TDataRow* entry = strings_->FindEntry(&component, LineEntry(listName, line));
              entry != nullptr && Translated(*entry))
            list->Put(line, entry->GetFStringValue(language));
      continue;
    }
    TDataRow* entry = strings_->FindEntry(&component, rule);
    const TPropertyInfo* p = TextProperty(component, rule);
    if (entry != nullptr && Translated(*entry) && p != nullptr && p->SetString)
      p->SetString(component, entry->GetFStringValue(language));
  }
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
