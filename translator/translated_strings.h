#pragma once
// A translator's data: the texts of its dialog's properties and its named
// strings, one column per language, and its view of the shared property
// rules.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/storage/data_row_list.h"
#include "data/storage/row_storage.h"
#include "platform/components/properties.h"
#include "translator/lang_fields.h"
#include "translator/translator_library.h"

namespace tv {

class TTranslator;
class TComponent;
class TKeyIndex;

enum class TShowProperties : unsigned char { spAllAdded, spTranslatedOnly };
using enum TShowProperties;

class TTranslatedStrings : public TObject {
  TV_CLASS(TTranslatedStrings, TObject)
 public:
  // The languages of the application translator, when there is one, else
  // "Language 1" and "Language 2".
  explicit TTranslatedStrings(TTranslator& translator);
  ~TTranslatedStrings() override;
  TTranslatedStrings(const TTranslatedStrings&) = delete;
  TTranslatedStrings& operator=(const TTranslatedStrings&) = delete;

  int LanguageCount() const { return static_cast<int>(languages_.size()); }
  TLangNameField& LanguageField(int index) const;
  std::string LanguageName(int index) const { return LanguageField(index).LanguageName(); }
  // The first language named exactly Name (case counts), or -1.
  int IndexOfLanguage(const std::string& name) const;
  // CopyFrom: the language whose texts the new one starts with, or -1.
  void InsertLanguage(int index, const std::string& name, int copyFrom);
  void RenameLanguage(int index, const std::string& name);
  // -1 does nothing.
  void RemoveLanguage(int index);
  void CheckLanguageNames() const;
  // The languages of a stream being read (the reading flag set), in one
  // rebuild of the tables whatever their number: the first ones renamed,
  // the others appended, surplus ones removed (refused as RemoveLanguage
  // refuses it when the current language is among them).
  void TakeStreamLanguages(const std::vector<std::string>& names);

  TShowProperties ShowProperties() const { return showProperties_; }
  // Marks every entry shown or not, then rebuilds the entries' row list.
  void SetShowProperties(TShowProperties value);

  // The named string's text in a language; "[" + Name + "]" without one.
  std::string GetString(const std::string& name, int languageIndex);

  TDataTable& PropertiesTable() const { return *propertiesTable_; }
  TDataTable& StringsTable() const { return *stringsTable_; }
  TRowStorage& Properties() const { return *properties_; }
  TRowStorage& Rules() const { return *rules_; }
  TRowStorage& NamedStrings() const { return *namedStrings_; }
  TTranslator& Translator() const { return *translator_; }

  // The rules for the component's properties: those of its class, then
  // those of its ancestors that include subclasses, for properties not yet
  // named; each entry's text is the rule's property name.
  void GetApplicableRules(const TComponent& component, TDataRowList& rules);
  // Whether a rule covers the entry's property of Component (a line of a
  // list property "X[n]" by the rule "X[]").
  bool HasRule(const TComponent& component, const std::string& property);
  // The entry of the component's property, or null; a found entry learns
  // the component and its class. While designing, an entry made under the
  // component's former name follows its new name.
  TDataRow* FindEntry(TComponent* component, const std::string& property);
  // Puts a new entry into the entries' storage; the entry placed, or null
  // when its key is taken.
  TDataRow* AddEntry(std::unique_ptr<TDataRow> entry);

  // A new row of the entries' or the named strings' table.
  std::unique_ptr<TDataRow> NewEntry() const { return std::make_unique<TDataRow>(propertiesTable_.get()); }
  std::unique_ptr<TDataRow> NewNamedString() const { return std::make_unique<TDataRow>(stringsTable_.get()); }

 private:
  // Both tables and storages rebuilt once, every row kept: with the fields
  // Added put in from Index on (their column taking the texts of CopyFrom,
  // or empty), or with the languages from First to End left out.
  void InsertLanguageFields(const std::vector<TLangNameField*>& added, int index, int copyFrom);
  void RemoveLanguageFields(int first, int end);
  void Rebuild(std::unique_ptr<TDataTable> properties, std::unique_ptr<TDataTable> strings,
               const std::vector<TLangNameField*>& added, const TDataField* copyFrom);
  TComponent* EntryComponent(const std::string& name) const;
  // The indexes over the entries and the named strings, made again when
  // their storage's rows or keys changed since they were made.
  TKeyIndex& Entries();
  TKeyIndex& NamedIndex();
  // Every rule with its class read.
  struct TRuleRow {
    TDataRow* Row;
    std::string ClassName;
  };
  const std::vector<TRuleRow>& RuleRows();

  TTranslator* translator_;
  std::unique_ptr<TDataTable> propertiesTable_, stringsTable_;
  std::unique_ptr<TRowStorage> properties_, rules_, namedStrings_;
  std::vector<std::unique_ptr<TLangNameField>> languages_;
  TShowProperties showProperties_ = spAllAdded;
  std::unique_ptr<TKeyIndex> entryIndex_, namedIndex_;
  std::vector<TRuleRow> ruleRows_;
  std::uint64_t ruleRowsVersion_ = 0;
};

// A rule as a pass uses it on the components of one class: its property
// looked up once for the class.
struct TRuleUse {
  std::string Property;                 // the rule's property name
  bool Translate = false;               // the rule's flag for new entries
  std::string ListName;                 // "X" for a rule "X[]", else empty
  const TPropertyInfo* Text = nullptr;  // the string property, when the class has one
  const TPropertyInfo* List = nullptr;  // the class-typed property X, for a list rule
};

// The rules that apply to each class, filled on first demand, for one
// collecting or applying pass.
class TTranslatedProperties : public TObject {
  TV_CLASS(TTranslatedProperties, TObject)
 public:
  explicit TTranslatedProperties(TTranslatedStrings& strings) : strings_(&strings) {}
  // The rules for the component's class; a component without a name has none.
  const TDataRowList& RulesFor(const TComponent& component);
  // The same rules with their properties resolved for the class.
  const std::vector<TRuleUse>& UsesFor(const TComponent& component);

 private:
  TTranslatedStrings* strings_;
  // By class, not by its name: a pass asks for every control, and the
  // class's information is at hand where its name would be a new string.
  std::unordered_map<const TClassInfo*, std::unique_ptr<TDataRowList>> byClass_;
  std::unordered_map<const TClassInfo*, std::vector<TRuleUse>> usesByClass_;
  TDataRowList none_;
  std::vector<TRuleUse> noUses_;
};

// Name in single quotes, inner quotes doubled.
std::string QuotedName(const std::string& name);

}  // namespace tv
