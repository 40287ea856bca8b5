#pragma once
// Calculated fields: data fields whose value for a row is computed, not
// stored. Handlers (events) or descendants supply the computation; the
// ready-made ones show a constant, a header, whether a row is unaccepted,
// and a boolean as "True"/"False".

#include <functional>
#include <memory>
#include <string>

#include "data/elements/data_row.h"
#include "data/elements/data_table.h"

namespace tv {

class TCalcField;

using TOnCalcValueEvent = std::function<TValue(TCalcField& sender, const TAbstractRow& row)>;
using TOnDistributeValueEvent =
    std::function<TSetResult(TCalcField& sender, TAbstractRow& row, const TValue& value)>;
using TOnGetValuesEvent = std::function<void(TCalcField& sender, TStrings& results, const TDataTable* table,
                                             const TAbstractRow* row, const TRowCondition* condition)>;

// A data field whose value is computed for a row, and may be distributed back into it.
class TCalcField : public TDataField {
  TV_PUBLISHED_CLASS(TCalcField, TDataField)
 public:
  explicit TCalcField(TComponent* owner);
  static std::unique_ptr<TCalcField> CreateNamed(const std::string& fieldName, bool calcBeforeAggregating,
                                                 bool readOnly, const TDataType* dataType);

  // Whether a sub-total row may compute the field itself.
  bool LegalForSubTotals = true;
  // Reading the field in a row always computes it.
  bool CalcInTable = false;
  // An aggregable field's sub-total sums the values computed per row (true)
  // or is computed on the sub-total row (false).
  bool CalcbeforeAggregating = true;
  TOnCalcValueEvent OnCalcValue;
  TOnDistributeValueEvent OnDistributeValue;
  TOnGetValuesEvent OnGetValues;

  TValue GetValue(const TAbstractRow& row, int idx) const override;
  bool IsStorable() const override { return false; }
  TValue GetExternValue(const TAbstractRow& row) const override;
  // A read-only field refuses with srReadOnly (4); others distribute.
  TSetResult SetValue(TAbstractRow& row, const TValue& value, TSetAction setAction) override;
  bool HasGetValues() const override { return static_cast<bool>(OnGetValues) || ReplacesGetValues(); }
  // Only when calculated fields are asked for.
  void AddToList(TList* list, bool includeCalculated) override;
  void GetValues(TStrings& results, const TDataTable* table, const TAbstractRow* row,
                 const TRowCondition* condition) override;
  // OnCalcValue; without one: "<class>.CalcValue: Method not implemented!".
  virtual TValue CalcValue(const TAbstractRow& row) const;
  // OnDistributeValue; without one: "<class>.DistributeValue: Method not implemented!".
  virtual TSetResult DistributeValue(TAbstractRow& row, const TValue& value);

 protected:
  // A class that supplies its own GetValues says so.
  virtual bool ReplacesGetValues() const { return false; }
  void InitCalc(const std::string& fieldName, bool calcBeforeAggregating, bool readOnly,
                const TDataType* dataType);
};

// The process-wide default: no name, boolean, before aggregating, read-only.
const TCalcField& DefaultCalcField();

// A calculated field that closes over other fields; only descendants exist.
class TClosedField : public TCalcField {
  TV_CLASS(TClosedField, TCalcField)
 public:
  using TCalcField::TCalcField;
  virtual int ClosedFieldCount() const = 0;
  virtual TDataField* ClosedField(int index) const = 0;
  virtual void Close(TAbstractRow& row) = 0;
};

// A key position standing for a calculated field: rows read the calculated
// field in its place; nobody writes it.
class TFictiveField : public TKeyField {
  TV_CLASS(TFictiveField, TKeyField)
 public:
  explicit TFictiveField(TComponent* owner);
  TCalcField* CalcField() const { return calcField_; }
  void SetCalcField(TCalcField* field) { calcField_ = field; }
  bool IsStorable() const override { return false; }
  bool IsFictive() const override { return true; }
  const TDataField* StandsFor() const override {
    return calcField_ ? static_cast<const TDataField*>(calcField_) : this;
  }

 private:
  TCalcField* calcField_ = nullptr;
};

// A calculated field that yields the same value for every row.
class TConstantField : public TCalcField {
  TV_CLASS(TConstantField, TCalcField)
 public:
  // The constant ZeroValue.
  explicit TConstantField(TComponent* owner);
  // Read-only, of Value's type, not before aggregating; the constant Value.
  static std::unique_ptr<TConstantField> Create(const std::string& fieldName, const TValue& value);
  const TValue& Constant() const { return constant_; }
  TValue CalcValue(const TAbstractRow& row) const override;
  TSetResult DistributeValue(TAbstractRow& row, const TValue& value) override;

 protected:
  void InitConstant(const std::string& fieldName, const TValue& value);

 private:
  TValue constant_;
};

// A constant field that stands as a caption among the fields of a table.
class THeaderField : public TConstantField {
  TV_CLASS(THeaderField, TConstantField)
 public:
  using TConstantField::TConstantField;
  static std::unique_ptr<THeaderField> Create(const std::string& fieldName, const TValue& value, int tag);
  int HeaderTag = 0;
  int Flag = 0;
};

// True for a row that is modified, deleted or inserted and not accepted.
class TRowModifiedField : public TCalcField {
  TV_CLASS(TRowModifiedField, TCalcField)
 public:
  using TCalcField::TCalcField;
  static std::unique_ptr<TRowModifiedField> Create(const std::string& fieldName);
  TValue CalcValue(const TAbstractRow& row) const override;
};

// "True" or "False" for a boolean field, which then shows this text only.
class TBooleanTextField : public TCalcField {
  TV_CLASS(TBooleanTextField, TCalcField)
 public:
  using TCalcField::TCalcField;
  ~TBooleanTextField() override;
  static std::unique_ptr<TBooleanTextField> Create(const std::string& fieldName, TDataField* booleanField);
  TDataField* BooleanField() const { return booleanField_; }
  TValue CalcValue(const TAbstractRow& row) const override;

 private:
  TDataField* booleanField_ = nullptr;
};

// Enters TCalcField, TFictiveField and TClosedField in the class registry,
// so that component streams can make them.
void RegisterCalcFieldClasses();

}  // namespace tv
