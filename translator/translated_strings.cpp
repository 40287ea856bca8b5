#include "translator/translated_strings.h"

#include <algorithm>
#include <unordered_map>

#include "data/conditions/criteria.h"
#include "data/storage/key_index.h"
#include "data/types/data_types.h"
#include "data/types/string_types.h"
#include "platform/components/component.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"
#include "translator/translator.h"

namespace tv {

namespace {

// Where language 0 stands: after "Component", "Property" and "Class" in the
// entries' table, after "Property" in the named strings' table.
constexpr int kFirstEntryLanguage = 3;
constexpr int kFirstStringLanguage = 1;

[[noreturn]] void Fail(const std::string& message) {
  throw ETranslatorError(message);
}

// Every row of a storage, shown or not, in key order.
// A storage over Table with a copy of every row of Old; the columns of
// Added take the texts of CopyFrom (or stay empty).
std::unique_ptr<TRowStorage> CopyRows(TRowStorage& old, const TDataTable& table,
                                      const std::vector<TLangNameField*>& added, const TDataField* copyFrom) {
  auto storage = std::make_unique<TRowStorage>(&table, false);
  const TDataTable& oldTable = old.DataTable();
  for (TDataRow* row : old.TreeRows()) {
    auto copy = std::make_unique<TDataRow>(&table);
    for (int i = 0; i < oldTable.FieldCount(); ++i) {
      const TDataField* field = oldTable.GetField(i);
      if (table.TableHasField(field)) copy->SetFieldValue(field, row->GetFieldValue(field));
    }
    if (copyFrom != nullptr)
      for (const TLangNameField* field : added) copy->SetFieldValue(field, row->GetFieldValue(copyFrom));
    copy->SetVisible(row->Visible());
    storage->InsertRow(copy, paRefuse);
  }
  return storage;
}

// The rule name that covers an entry: "X[]" for a line "X[n]".
std::string RuleName(const std::string& property) {
  const std::size_t bracket = property.find('[');
  return bracket == std::string::npos ? property : property.substr(0, bracket) + "[]";
}

}  // namespace

std::string QuotedName(const std::string& name) {
  std::string quoted = "'";
  for (char c : name) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

// --- construction

TTranslatedStrings::TTranslatedStrings(TTranslator& translator) : translator_(&translator) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  const TTranslator* application = TTranslator::ApplicationTranslator(&translator);
  if (application != nullptr) {
    const TTranslatedStrings& source = application->Strings();
    for (int i = 0; i < source.LanguageCount(); ++i) {
      auto field = std::make_unique<TLangNameField>("");
      field->Descriptions().Assign(source.LanguageField(i).Descriptions());
      field->LongDescriptions().Assign(source.LanguageField(i).LongDescriptions());
      languages_.push_back(std::move(field));
    }
  } else {
    for (int i = 1; i <= 2; ++i)
      languages_.push_back(std::make_unique<TLangNameField>("Language " + std::to_string(i)));
  }
  // Each table laid out once, its languages among its fields.
  std::vector<TDataField*> entryFields{shared.ClassField.get()}, texts;
  for (const auto& language : languages_) texts.push_back(language.get());
  entryFields.insert(entryFields.end(), texts.begin(), texts.end());
  entryFields.push_back(shared.PointerField.get());
  entryFields.push_back(shared.TranslateField.get());
  propertiesTable_ = TDataTable::CreateWithFields(
      "", {shared.ComponentField.get(), shared.PropertyField.get()}, entryFields);
  stringsTable_ = TDataTable::CreateWithFields("", {shared.PropertyField.get()}, texts);
  properties_ = std::make_unique<TRowStorage>(propertiesTable_.get(), false);
  rules_ = std::make_unique<TRowStorage>(shared.RulesTable.get(), false);
  namedStrings_ = std::make_unique<TRowStorage>(stringsTable_.get(), false);
}

// Storages go before the tables they hold rows of, tables before the fields.
TTranslatedStrings::~TTranslatedStrings() {
  properties_.reset();
  rules_.reset();
  namedStrings_.reset();
  propertiesTable_.reset();
  stringsTable_.reset();
}

// --- languages

TLangNameField& TTranslatedStrings::LanguageField(int index) const {
  if (index < 0 || index >= LanguageCount()) throw EListError(ListIndexErrorText(index));
  return *languages_[static_cast<std::size_t>(index)];
}

int TTranslatedStrings::IndexOfLanguage(const std::string& name) const {
  for (int i = 0; i < LanguageCount(); ++i)
    if (LanguageName(i) == name) return i;
  return -1;
}

void TTranslatedStrings::InsertLanguage(int index, const std::string& name, int copyFrom) {
  if (!translator_->Reading() && IndexOfLanguage(name) >= 0)
    Fail("Languagename " + QuotedName(name) + " is already used!");
  if (index < 0 || index > LanguageCount()) Fail("Invalid index " + std::to_string(index) + "!");
  auto field = std::make_unique<TLangNameField>(name);
  InsertLanguageFields({field.get()}, index, copyFrom >= 0 && copyFrom < LanguageCount() ? copyFrom : -1);
  languages_.insert(languages_.begin() + index, std::move(field));
  if (index <= translator_->LanguageIndex()) translator_->SetLanguageIndex(translator_->LanguageIndex() + 1);
}

void TTranslatedStrings::RemoveLanguage(int index) {
  if (index == -1) return;
  if (index == translator_->LanguageIndex())
    Fail("You are not allowed to remove the currently selected language!");
  LanguageField(index);  // an index outside the list is refused before anything changes
  RemoveLanguageFields(index, index + 1);
  languages_.erase(languages_.begin() + index);
  if (index <= translator_->LanguageIndex()) translator_->SetLanguageIndex(translator_->LanguageIndex() - 1);
}

void TTranslatedStrings::TakeStreamLanguages(const std::vector<std::string>& names) {
  const int count = static_cast<int>(names.size()), kept = std::min(count, LanguageCount());
  for (int i = 0; i < kept; ++i) RenameLanguage(i, names[static_cast<std::size_t>(i)]);
  if (count < LanguageCount()) {
    if (translator_->LanguageIndex() >= count)
      Fail("You are not allowed to remove the currently selected language!");
    RemoveLanguageFields(count, LanguageCount());
    languages_.erase(languages_.begin() + count, languages_.end());
    return;
  }
  std::vector<std::unique_ptr<TLangNameField>> fields;
  std::vector<TLangNameField*> added;
  for (int i = kept; i < count; ++i) {
    fields.push_back(std::make_unique<TLangNameField>(names[static_cast<std::size_t>(i)]));
    added.push_back(fields.back().get());
  }
  if (added.empty()) return;
  // Appended after the current language, which stays where it is.
  InsertLanguageFields(added, LanguageCount(), -1);
  for (auto& field : fields) languages_.push_back(std::move(field));
}

void TTranslatedStrings::InsertLanguageFields(const std::vector<TLangNameField*>& added, int index,
                                              int copyFrom) {
  std::unique_ptr<TDataTable> properties = propertiesTable_->CreateCopy();
  std::unique_ptr<TDataTable> strings = stringsTable_->CreateCopy();
  const std::vector<TDataField*> fields(added.begin(), added.end());
  properties->InsertFields(fields, kFirstEntryLanguage + index);
  strings->InsertFields(fields, kFirstStringLanguage + index);
  Rebuild(std::move(properties), std::move(strings), added,
          copyFrom >= 0 ? &LanguageField(copyFrom) : nullptr);
}

void TTranslatedStrings::RemoveLanguageFields(int first, int end) {
  std::unique_ptr<TDataTable> properties = propertiesTable_->CreateCopy();
  std::unique_ptr<TDataTable> strings = stringsTable_->CreateCopy();
  for (int i = first; i < end; ++i) {
    properties->RemoveDataField(&LanguageField(i));
    strings->RemoveDataField(&LanguageField(i));
  }
  Rebuild(std::move(properties), std::move(strings), {}, nullptr);
}

void TTranslatedStrings::Rebuild(std::unique_ptr<TDataTable> properties, std::unique_ptr<TDataTable> strings,
                                 const std::vector<TLangNameField*>& added, const TDataField* copyFrom) {
  std::unique_ptr<TRowStorage> entries = CopyRows(*properties_, *properties, added, copyFrom);
  std::unique_ptr<TRowStorage> named = CopyRows(*namedStrings_, *strings, added, copyFrom);
  // Nothing above changed this object; from here nothing fails.
  entryIndex_.reset();
  namedIndex_.reset();
  properties_ = std::move(entries);
  namedStrings_ = std::move(named);
  propertiesTable_ = std::move(properties);
  stringsTable_ = std::move(strings);
}

void TTranslatedStrings::RenameLanguage(int index, const std::string& name) {
  TLangNameField& field = LanguageField(index);
  if (field.LanguageName() == name) return;
  if (!translator_->Reading() && IndexOfLanguage(name) >= 0)
    Fail("Languagename " + QuotedName(name) + " is already used!");
  field.SetLanguageName(name);
}

// The name of the first pair (i < j, by i, then j) that is equal: the
// repeated name whose first place comes first. A table of first places,
// not every pair: a stream may name thousands of languages.
void TTranslatedStrings::CheckLanguageNames() const {
  std::unordered_map<std::string, int> firstPlace;
  int repeated = LanguageCount();
  for (int i = 0; i < LanguageCount(); ++i) {
    auto [place, added] = firstPlace.try_emplace(LanguageName(i), i);
    if (!added) repeated = std::min(repeated, place->second);
  }
  if (repeated < LanguageCount())
    Fail("Languagename " + QuotedName(LanguageName(repeated)) + " is used more than once!");
}

// --- named strings

std::string TTranslatedStrings::GetString(const std::string& name, int languageIndex) {
  TDataRow* row = NamedIndex().Find({name});
  if (row == nullptr) return "[" + name + "]";
  return row->GetFStringValue(&LanguageField(languageIndex));
}

// --- rules and entries

void TTranslatedStrings::GetApplicableRules(const TComponent& component, TDataRowList& rules) {
  if (component.Name().empty()) return;
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  auto add = [&](std::string_view className, bool subclassesOnly) {
    for (const TRuleRow& rule : RuleRows()) {
      if (CompareTexts(rule.ClassName, className, false) != 0) continue;
      if (subclassesOnly && !rule.Row->GetFBooleanValue(shared.IncludeSubclassesField.get())) continue;
      const std::string name = rule.Row->GetFStringValue(shared.PropertyField.get());
      if (rules.IndexOf(name) < 0) rules.AddObject(name, rule.Row);
    }
  };
  add(component.ClassName(), false);
  for (const TClassInfo* c = component.ClassInfo().Parent; c != nullptr; c = c->Parent) add(c->Name, true);
}

// The rules are few and the class chains long: each level of each class is
// matched against the list of all rules with their classes, read once while
// the rules' keys stay as they are, rather than selected from the storage.
const std::vector<TTranslatedStrings::TRuleRow>& TTranslatedStrings::RuleRows() {
  if (ruleRowsVersion_ == rules_->TreeVersion() && !ruleRows_.empty()) return ruleRows_;
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  ruleRows_.clear();
  for (TDataRow* row : rules_->TreeRows())
    ruleRows_.push_back({row, row->GetFStringValue(shared.ClassField.get())});
  ruleRowsVersion_ = rules_->TreeVersion();
  return ruleRows_;
}

bool TTranslatedStrings::HasRule(const TComponent& component, const std::string& property) {
  const std::string rule = RuleName(property);
  if (rules_->LocateRow({component.ClassName(), rule}) != nullptr) return true;
  const TDataField* subclasses = InitializeTranslatorLibrary().IncludeSubclassesField.get();
  for (const TClassInfo* c = component.ClassInfo().Parent; c != nullptr; c = c->Parent)
    if (TDataRow* row = rules_->LocateRow({c->Name, rule});
        row != nullptr && row->GetFBooleanValue(subclasses))
      return true;
  return false;
}

TComponent* TTranslatedStrings::EntryComponent(const std::string& name) const {
  TComponent* owner = translator_->Owner();
  if (owner == nullptr) return nullptr;
  if (SameText(owner->Name(), name)) return owner;
  return owner->FindComponent(name);
}

void TTranslatedStrings::SetShowProperties(TShowProperties value) {
  showProperties_ = value;
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  for (TDataRow* entry : properties_->TreeRows()) {
    TComponent* component = EntryComponent(entry->GetFStringValue(shared.ComponentField.get()));
    bool shown =
        component != nullptr && HasRule(*component, entry->GetFStringValue(shared.PropertyField.get()));
    if (value == spTranslatedOnly && !entry->GetFBooleanValue(shared.TranslateField.get())) shown = false;
    entry->SetVisible(shown);
  }
  properties_->RebuildRowList();
}

TKeyIndex& TTranslatedStrings::Entries() {
  if (entryIndex_ == nullptr) {
    const TTranslatorShared& shared = InitializeTranslatorLibrary();
    entryIndex_ = std::make_unique<TKeyIndex>(
        *properties_,
        std::vector<const TDataField*>{shared.ComponentField.get(), shared.PropertyField.get()});
  }
  return *entryIndex_;
}

TKeyIndex& TTranslatedStrings::NamedIndex() {
  if (namedIndex_ == nullptr)
    namedIndex_ = std::make_unique<TKeyIndex>(
        *namedStrings_, std::vector<const TDataField*>{InitializeTranslatorLibrary().PropertyField.get()});
  return *namedIndex_;
}

TDataRow* TTranslatedStrings::AddEntry(std::unique_ptr<TDataRow> entry) {
  TKeyIndex& index = Entries();
  const bool current = index.Current();
  TDataRow* placed = entry.get();
  if (properties_->InsertRow(entry, paRefuse) != prInserted) return nullptr;
  // An index whole before is whole again with the new entry.
  if (current) index.Add(placed);
  return placed;
}

TDataRow* TTranslatedStrings::FindEntry(TComponent* component, const std::string& property) {
  if (component == nullptr || component->Name().empty()) return nullptr;
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  if (TDataRow* row = Entries().Find({component->Name(), property})) {
    // Both are brought up to date on every find, each on its own: a
    // component freed and one of another class made at its address under
    // its name (allocators reuse places) leaves the pointer right and the
    // class wrong. Written only where they differ: every write stamps the
    // storage.
    if (ObjectType()->GetAsObject(row->GetFieldValue(shared.PointerField.get())) != component)
      row->SetFieldValue(shared.PointerField.get(), ObjectValue(component));
    if (row->GetFStringValue(shared.ClassField.get()) != component->ClassName())
      row->SetFStringValue(shared.ClassField.get(), component->ClassName());
    return row;
  }
  if (!translator_->InState(csDesigning)) return nullptr;
  TCriteria criteria;
  criteria.FindCriteriaField(shared.ClassField.get(), true)->AddValue(StringValue(component->ClassName()));
  criteria.FindCriteriaField(shared.PropertyField.get(), true)->AddValue(StringValue(property));
  criteria.FindCriteriaField(shared.PointerField.get(), true)->AddValue(ObjectValue(component));
  TDataRow* renamed = properties_->FindRow(&criteria, true);
  if (renamed != nullptr) renamed->SetFStringValue(shared.ComponentField.get(), component->Name());
  return renamed;
}

// --- TTranslatedProperties

const TDataRowList& TTranslatedProperties::RulesFor(const TComponent& component) {
  if (component.Name().empty()) return none_;
  auto [place, added] = byClass_.try_emplace(&component.ClassInfo());
  if (added) {
    place->second = std::make_unique<TDataRowList>();
    strings_->GetApplicableRules(component, *place->second);
  }
  return *place->second;
}

const std::vector<TRuleUse>& TTranslatedProperties::UsesFor(const TComponent& component) {
  if (component.Name().empty()) return noUses_;
  auto [place, added] = usesByClass_.try_emplace(&component.ClassInfo());
  if (!added) return place->second;
  // The rules are asked once per class here: no list of them is kept.
  TDataRowList rules;
  strings_->GetApplicableRules(component, rules);
  const TDataField* translate = InitializeTranslatorLibrary().TranslateField.get();
  // A translator's own Language is never collected or set.
  const bool translator = ClassCast<TTranslator>(&component) != nullptr;
  for (int i = 0; i < rules.Count(); ++i) {
    TRuleUse use;
    use.Property = rules.Get(i);
    use.Translate = rules.GetDataRow(i)->GetFBooleanValue(translate);
    if (const std::size_t bracket = use.Property.find('['); bracket != std::string::npos) {
      use.ListName = use.Property.substr(0, bracket);
      use.List = FindProperty(component, use.ListName, TPropertyKind::pkClass);
    } else if (!(translator && SameText(use.Property, "Language"))) {
      use.Text = FindProperty(component, use.Property, TPropertyKind::pkString);
    }
    place->second.push_back(std::move(use));
  }
  return place->second;
}

}  // namespace tv
