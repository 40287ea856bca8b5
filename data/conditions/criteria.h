#pragma once
// Criteria: for some fields of a table, the values each may have, as
// single values and closed intervals. A row is accepted when every such
// field of the row holds an allowed value.

#include <memory>
#include <string>
#include <vector>

#include "data/conditions/condition.h"
#include "data/elements/data_field.h"
#include "data/types/index_container.h"

namespace tv {

class TCriteria;

// Entries of a start and an end value, sorted by start under the field's
// data type, no two with an equal start; start equal to end is a single value.
class TCriteriaValueList : public TObject {
  TV_CLASS(TCriteriaValueList, TObject)
 public:
  explicit TCriteriaValueList(const TDataField* field);

  const TDataField& Field() const { return *field_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  int Capacity() const { return capacity_; }
  // Whether an entry starts with Value; Index is where it is or would go.
  bool Find(const TValue& value, int& index) const;
  // The entry that starts with Value, made a single value when new.
  int Add(const TValue& value);
  int AddInterval(const TValue& start, const TValue& end);
  bool Contains(const TValue& value) const;
  TValue Get(int index) const;
  TValue Get2(int index) const;
  void Put2(int index, const TValue& value);
  void Delete(int index);
  void Clear();

 private:
  struct TEntry {
    TValue Start, End;
  };
  int Compare(const TValue& a, const TValue& b) const { return field_->DataType()->Compare(a, b); }
  void CheckIndex(int index, const char* operation) const;
  const TDataField* field_;
  std::vector<TEntry> entries_;
  int capacity_ = 0;
};

// The allowed values of one field: all, none, or the listed values and
// intervals (an empty list without flags restricts nothing).
class TCriteriaField : public TNiceCondition {
  TV_CLASS(TCriteriaField, TNiceCondition)
 public:
  TCriteriaField(TObject* owner, const TDataField* field);
  static std::unique_ptr<TCriteriaField> CreateCopy(TObject* owner, const TCriteriaField* source);

  const TDataField& Field() const { return values_.Field(); }
  const TCriteriaValueList& Values() const { return values_; }
  int Count() const { return values_.Count(); }

  // StringValue(Text), converted to the field's type.
  void AddValue(const std::string& text);
  void AddValue(const TValue& value);
  // The closed interval from Start to End joins the allowed values.
  void AddInterval(const TValue& start, const TValue& end);
  void SetAcceptAll();
  void SetAcceptNone();
  void Clear();

  bool AcceptsAll() const { return acceptAll_ || (values_.Count() == 0 && !acceptNone_); }
  bool AcceptsNone() const { return acceptNone_; }
  bool IsUnrestricted() const { return values_.Count() == 0 && !acceptAll_ && !acceptNone_; }
  bool HasExactlyOneValue() const;
  // Fatal "OnlyValue" report unless HasExactlyOneValue.
  TValue OnlyValue() const;
  TValue GetStartValue(int idx) const;
  TValue GetEndValue(int idx) const;
  bool GetIsInterval(int idx) const;
  TValue GetSingleValue(int idx) const;

  bool AcceptsValue(const TValue& value) const;
  bool AcceptsRow(const TAbstractRow& row) const override;

  // Set operations on the allowed sets (all: the full set, none: empty).
  // The source's field must have the same data type.
  void CopyFrom(const TCriteriaField* source);
  static std::unique_ptr<TCriteriaField> CreateIntersection(TObject* owner, const TDataField* field,
                                                            const TCriteriaField* src1,
                                                            const TCriteriaField* src2);
  void IntersectWith(const TCriteriaField* cond);
  void UnionAddFrom(const TCriteriaField* cond);

 private:
  // Widens an entry that starts at Start to reach End at least.
  void AddRange(const TValue& start, const TValue& end);
  void Reset(bool acceptAll, bool acceptNone);
  TCriteriaValueList values_;
  bool acceptAll_ = false;
  bool acceptNone_ = false;
};

// Allowed values and intervals per field: the condition that storages select rows by.
class TCriteria : public TNiceCondition {
  TV_CLASS(TCriteria, TNiceCondition)
 public:
  TCriteria();
  ~TCriteria() override;
  TCriteria(const TCriteria&) = delete;
  TCriteria& operator=(const TCriteria&) = delete;
  // Copies of Source's criteria fields; an empty criteria without a source.
  static std::unique_ptr<TCriteria> CreateCopy(const TCriteria* source);

  // The field's criteria field; with Create, a new unrestricted one when
  // there is none.
  TCriteriaField* FindCriteriaField(const TDataField* field, bool create);
  TCriteriaField* FindCriteriaField(const TDataField* field) const;
  bool HasCriteriaFor(const TDataField* field) const;
  bool RestrictsField(const TDataField* field) const;
  int Count() const { return fields_.Count(); }

  bool AcceptsRow(const TAbstractRow& row) const override;
  bool AcceptsRow(const TAbstractRow* row) const;
  // The second row test: each criteria field asked in turn.
  bool AcceptsRowByFields(const TAbstractRow& row) const;
  // A criteria that fixes the key of a node's children to one value descends
  // into that child alone; otherwise every child is visited.
  void Traverse(TGetRowsHandler& handler, TSubTotalRow& node) const override;

  // Rows that both accept: each field's allowed values intersected. (A
  // union of criteria is no criteria in general, so there is none.)
  void IntersectWith(const TCriteria& other);

 private:
  friend class TCriteriaFieldIterator;
  TIndexContainer fields_{101, true};
};

// Walks the criteria fields of a criteria in field order.
class TCriteriaFieldIterator : public TObject {
  TV_CLASS(TCriteriaFieldIterator, TObject)
 public:
  explicit TCriteriaFieldIterator(const TCriteria& criteria) : iterator_(criteria.fields_) {}
  bool AtEnd() const { return iterator_.AtEnd(); }
  const TDataField* DataField() const { return static_cast<const TDataField*>(iterator_.Key()); }
  TCriteriaField* CriteriaField() const { return static_cast<TCriteriaField*>(iterator_.Data()); }
  void Next() { iterator_.Next(); }

 private:
  TIndexContainerIterator iterator_;
};

}  // namespace tv
