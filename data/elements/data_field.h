#pragma once
// Field definitions: TDataField, the key fields (TKeyField) and the keys
// whose values are generated (TRunningNumberField), the per-language field
// arrays, and the sets of fields that conditions name.

#include <memory>
#include <string>
#include <vector>

#include "data/elements/codes.h"
#include "data/elements/singletons.h"
#include "data/types/data_types.h"
#include "data/types/field_list.h"
#include "data/types/index_container.h"
#include "data/types/lang_array.h"
#include "platform/rtl/enum_names.h"

namespace tv {

class TAbstractRow;
class TDataTable;
class TRowCondition;
class TDataField;

enum class TRefillType { rtNever, rtAlways, rtDependentChange };
inline constexpr auto kRefillTypeNames = EnumNameArray("rtNever", "rtAlways", "rtDependentChange");
static_assert(kRefillTypeNames.size() == 1 + static_cast<std::size_t>(TRefillType::rtDependentChange));
constexpr TEnumNames EnumNames(TRefillType) {
  return kRefillTypeNames;
}
enum class TSortOrder { soAscending, soDescending };
inline constexpr auto kSortOrderNames = EnumNameArray("soAscending", "soDescending");
static_assert(kSortOrderNames.size() == 1 + static_cast<std::size_t>(TSortOrder::soDescending));
constexpr TEnumNames EnumNames(TSortOrder) {
  return kSortOrderNames;
}
enum class TDisplayValues { dvKeyOnly, dvKeyAndText, dvTextOnly, dvDefault };
inline constexpr auto kDisplayValuesNames =
    EnumNameArray("dvKeyOnly", "dvKeyAndText", "dvTextOnly", "dvDefault");
static_assert(kDisplayValuesNames.size() == 1 + static_cast<std::size_t>(TDisplayValues::dvDefault));
constexpr TEnumNames EnumNames(TDisplayValues) {
  return kDisplayValuesNames;
}

// Quilts: value and interval sets per field that a field may carry as its
// selection criteria. Their contents are not part of this system; a field
// owns one when it is given one.
class TCommonQuilt : public TObject {
  TV_CLASS(TCommonQuilt, TObject)
};

// Fields per language; reading past the array gives language 0's field, an
// empty array its default.
class TLangFieldArray : public TCommonLangArray {
  TV_CLASS(TLangFieldArray, TCommonLangArray)
 public:
  using TDefaultField = std::function<TDataField*()>;
  explicit TLangFieldArray(TDefaultField defaultField = {}) : defaultField_(std::move(defaultField)) {}
  TObject* DefaultObject() const override;
  TDataField* Field(int index) const;
  // Fills languages up to Index with empty entries first.
  void SetField(int index, TDataField* field);

 private:
  TDefaultField defaultField_;
};

// A named column definition: its data type, descriptions per language and place in tables.
class TDataField : public TSingleton {
  TV_PUBLISHED_CLASS(TDataField, TSingleton)
 public:
  // A field of the component model: a string type of length 30, display
  // width -1, not registered under a name until it gets one.
  explicit TDataField(TComponent* owner);
  ~TDataField() override;

  // A field without owner named FieldName, of DataType, registered in the
  // field registry; aggregability and display width come from the type.
  static std::unique_ptr<TDataField> CreateNamed(const std::string& fieldName, const TDataType* dataType);

  const std::string& FieldName() const { return fieldName_; }
  // Moves the registry entry and the description defaults that followed
  // the old name.
  void SetFieldName(const std::string& name);
  const TDataType* DataType() const { return dataType_; }
  // A different type stamps the change (MarkChanged).
  void SetDataType(const TDataType* dataType);
  int DisplayWidth() const { return displayWidth_; }
  void SetDisplayWidth(int width) { displayWidth_ = width; }
  // A field name that was the old component name (or it without the
  // container's field prefix) follows the new one, prefix removed.
  void SetName(const std::string& name) override;
  // The tables that contain the field.
  TIndexContainer& TableList() { return tableList_; }
  const TIndexContainer& TableList() const { return tableList_; }

  bool DisableIntervals = false;
  bool IsAggregable = false;
  bool HasCombo = false;
  bool AllowSelections = false;
  bool IsReportable = false;
  TRefillType RefillType = TRefillType::rtDependentChange;
  TSortOrder SortOrder = TSortOrder::soAscending;
  bool CanGenerateCondSQL = true;
  bool CanGenerateValueSQL = true;
  bool DefaultReadOnly = false;

  TLangArray& Descriptions() { return descriptions_; }
  const TLangArray& Descriptions() const { return descriptions_; }
  TLangArray& LongDescriptions() { return longDescriptions_; }
  const TLangArray& LongDescriptions() const { return longDescriptions_; }
  // Both arrays take Texts in order, language 0 first.
  void SetDescriptions(const std::vector<std::string>& texts);
  void SetDescriptions(const std::vector<std::string>& descriptions,
                       const std::vector<std::string>& longDescriptions);
  std::string Description(int languageIndex) const { return descriptions_.Text(languageIndex); }
  std::string LongDescription(int languageIndex) const { return longDescriptions_.Text(languageIndex); }

  // The fields that show this key's text per language, and their long text;
  // the long text array falls back to the text field of the current language.
  TLangFieldArray& TextFields() { return textFields_; }
  TLangFieldArray& LongTextFields() { return longTextFields_; }
  void SetLanguageFields(int languageIndex, TDataField* textField, TDataField* longTextField);

  // The field by which this one sorts (itself by default). Virtual, so
  // that a field may make its sort field only when someone sorts by it.
  virtual TDataField* SortField() { return sortField_ ? sortField_ : this; }
  void SetSortField(TDataField* field) { sortField_ = field == this ? nullptr : field; }
  // The key field this one is looked up through, and the field it derives
  // from; both are the field itself unless set.
  TDataField* LookupField() { return lookupField_ ? lookupField_ : this; }
  void SetLookupField(TDataField* field) { lookupField_ = field == this ? nullptr : field; }
  TDataField* DerivedFrom() { return derivedFrom_ ? derivedFrom_ : this; }
  // Enters the field in the other's derived fields (and leaves the former one's).
  void SetDerivedFrom(TDataField* field);

  TCommonQuilt* Criteria() const { return criteria_.get(); }
  void SetCriteria(std::unique_ptr<TCommonQuilt> criteria) { criteria_ = std::move(criteria); }

  // dvDefault is resolved at once: text shown with the key for string types.
  TDisplayValues DisplayValues() const { return displayValues_; }
  void SetDisplayValues(TDisplayValues values);
  bool IsRunningNumber() const;
  TDataTable* AuxTable() const { return auxTable_; }

  // Per-row access and the field's own rules, in the order of the field's
  // virtual operations; calculated fields replace several of them.
  virtual TValue GetValue(const TAbstractRow& row, int idx) const;
  virtual bool IsReadOnly() const { return DefaultReadOnly; }
  virtual bool IsStorable() const { return dataType_ && dataType_->IsStorable(); }
  virtual std::string GetSQLExpression(bool aggregated) const;
  // The value of a field that has no place in the row: the type's default
  // for a plain field (lookups through aux tables are not used here).
  virtual TValue GetExternValue(const TAbstractRow& row) const;
  // Plain fields are stored by the row itself: this refuses. The answer is
  // a TSetResult.
  virtual TSetResult SetValue(TAbstractRow& row, const TValue& value, TSetAction setAction);
  // The table must have the field as a key ("SetAuxTable" report otherwise).
  virtual void SetAuxTable(TDataTable* table);
  virtual int DependentFieldCount() const;
  virtual TDataField* GetDependentField(int idx) const;
  virtual void AddDependentChild(TDataField* child);
  virtual void RemoveDependentChild(TDataField* child);
  virtual int DependentChildCount() const { return static_cast<int>(dependentChildren_.size()); }
  virtual TDataField* GetDependentChild(int idx) const;
  virtual int DerivedFieldCount() const { return static_cast<int>(derivedFields_.size()); }
  virtual TDataField* GetDerivedField(int idx) const;
  // Levels of key fields this one is looked up through (0 for a plain field).
  virtual int LookupChainLength() const { return 0; }
  virtual TDataField* ChainField(int level);
  virtual bool HasGetValues() const { return false; }
  virtual void AddToList(TList* list, bool includeCalculated);
  // The possible values of the field into Results; a plain field has no
  // source for them.
  virtual void GetValues(TStrings& results, const TDataTable* table, const TAbstractRow* row,
                         const TRowCondition* condition);
  // The aux-table rows that match Criteria (none without an aux table).
  virtual void GetRows(TList* results, const TObject* criteria) const;

  // A fictive key stands for a calculated field: rows read that one in its
  // place, and nobody writes it.
  virtual bool IsFictive() const { return false; }
  virtual const TDataField* StandsFor() const { return this; }

 protected:
  // What CreateNamed does after construction.
  void InitNamed(const std::string& fieldName, const TDataType* dataType);

 private:
  std::string fieldName_;
  const TDataType* dataType_;
  int displayWidth_ = -1;
  TIndexContainer tableList_{101, false};
  TLangArray descriptions_, longDescriptions_;
  TLangFieldArray textFields_, longTextFields_;
  TDataField* sortField_ = nullptr;
  TDataField* lookupField_ = nullptr;
  TDataField* derivedFrom_ = nullptr;
  std::unique_ptr<TCommonQuilt> criteria_;
  std::vector<TDataField*> dependentChildren_, derivedFields_;
  TDisplayValues displayValues_ = TDisplayValues::dvDefault;
  TDataTable* auxTable_ = nullptr;
};

// A data field that is part of its tables' keys.
class TKeyField : public TDataField {
  TV_CLASS(TKeyField, TDataField)
 public:
  explicit TKeyField(TComponent* owner);
  // As TDataField::CreateNamed, then a key's settings: not aggregable, key
  // shown alone, no combo, selectable and reportable, display width the
  // type's data size + 25.
  static std::unique_ptr<TKeyField> CreateNamed(const std::string& fieldName, const TDataType* dataType);
  // The full form: an aux table, a display width (-1: the rule above), how
  // values show, and whether a combo offers them.
  static std::unique_ptr<TKeyField> CreateNamed(const std::string& fieldName, const TDataType* dataType,
                                                TDataTable* auxTable, int displayWidth,
                                                TDisplayValues displayValues, bool hasCombo);

  // The further key field this one is looked up through, or none.
  TKeyField* NextKey() const { return nextKey_; }
  void SetNextKey(TKeyField* key) { nextKey_ = key; }
  int LookupChainLength() const override;
  TDataField* ChainField(int level) override;

 protected:
  void InitKey(const std::string& fieldName, const TDataType* dataType);

 private:
  TKeyField* nextKey_ = nullptr;
};

// Hands out the numbers of a running-number key.
class TRunningNumberGenerator : public TObject {
  TV_CLASS(TRunningNumberGenerator, TObject)
 public:
  // The row's value for Field is below 1.
  virtual bool NeedsNumber(const TAbstractRow& row, const TDataField& field) const = 0;
  virtual std::int32_t NextNumber(const std::vector<std::int32_t>& existingValues) const = 0;
};

// Fresh numbers are -1, -2, ... until a storage assigns final ones: one less
// than the smallest of the existing values and 0.
class TDefaultRunningNumberGenerator : public TRunningNumberGenerator {
  TV_CLASS(TDefaultRunningNumberGenerator, TRunningNumberGenerator)
 public:
  bool NeedsNumber(const TAbstractRow& row, const TDataField& field) const override;
  std::int32_t NextNumber(const std::vector<std::int32_t>& existingValues) const override;
};

const TDefaultRunningNumberGenerator& DefaultRunningNumberGenerator();

// A key field whose values a generator hands out, counting within the keys above it.
class TRunningNumberField : public TKeyField {
  TV_CLASS(TRunningNumberField, TKeyField)
 public:
  explicit TRunningNumberField(TComponent* owner);
  static std::unique_ptr<TRunningNumberField> CreateNamed(const std::string& fieldName);

  const TRunningNumberGenerator& Generator() const { return *generator_; }
  void SetGenerator(const TRunningNumberGenerator* generator);

 private:
  const TRunningNumberGenerator* generator_;
};

// A key standing for a list of fields; nothing in this system makes one.
class TDataFieldList : public TKeyField {
  TV_CLASS(TDataFieldList, TKeyField)
 public:
  using TKeyField::TKeyField;
  virtual int ListFieldCount() const = 0;
  virtual TDataField* ListField(int index) const = 0;
  virtual int IndexOfListField(const TDataField* field) const = 0;
  virtual TValue ListValue(const TAbstractRow& row, int index) const = 0;
  virtual void SetListValue(TAbstractRow& row, int index, const TValue& value) = 0;
};

// A set of fields without repetition. A missing set stands for all fields.
class TDataFieldSet : public TObject {
  TV_CLASS(TDataFieldSet, TObject)
 public:
  TDataFieldSet() = default;
  // The key and data fields of Table.
  explicit TDataFieldSet(const TDataTable& table);
  void Assign(const TDataFieldSet& source);
  void UnionWith(const TDataFieldSet& other);
  int Count() const { return fields_.Count(); }
  void Add(TDataField* field);
  bool Contains(const TDataField* field) const { return fields_.Contains(field); }
  bool ContainsFieldAt(const TDataTable& table, int idx) const;

 private:
  friend class TDataFieldSetIterator;
  TIndexContainer fields_{101, false};
};

bool SetContains(const TDataFieldSet* set, const TDataField* field);
bool SetContainsFieldAt(const TDataFieldSet* set, const TDataTable& table, int idx);

// Walks the fields of a field set.
class TDataFieldSetIterator : public TObject {
  TV_CLASS(TDataFieldSetIterator, TObject)
 public:
  // On none, at its end at once.
  explicit TDataFieldSetIterator(const TDataFieldSet* set);
  bool AtEnd() const { return !iterator_ || iterator_->AtEnd(); }
  TDataField* Current() const;
  void Next();

 private:
  std::unique_ptr<TIndexContainerIterator> iterator_;
};

// The fields registered under their names (process-wide).
TDataField* FindRegisteredField(const std::string& fieldName);

}  // namespace tv
