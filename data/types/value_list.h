#pragma once
// TValueList: a string list whose every entry also carries a typed value,
// kept and searched in the order of the list's data type.

#include <string>

#include "data/types/data_type.h"
#include "data/types/value_items.h"
#include "platform/rtl/lists.h"

namespace tv {

class TStringType;

// A string list whose entries also carry a TValue, sorted and searched by a data type.
class TValueList : public TStrings {
  TV_CLASS(TValueList, TStrings)
 public:
  // Every stored value is first converted to DataType, which may be null
  // (values are then kept as they come, and the list cannot be sorted).
  explicit TValueList(const TDataType* dataType);

  const TDataType* DataType() const { return dataType_; }

  // Position of the new entry; in a sorted list an equal entry decides by
  // Duplicates (ignore: its position, nothing added; error: raises).
  int AddValueObject(const std::string& text, const TValue& value, TObject* object);
  int AddValue(const TValue& value) { return AddValueObject("", value, nullptr); }

  // Bisection of a sorted list: true when an equal value is there, Index
  // its position (the first with dupAccept); otherwise where it belongs.
  bool Find(const TValue& value, int& index) const;
  int IndexOfValue(const TValue& value) const;
  TValue GetValueAt(int index) const;
  void PutValue(int index, const TValue& value);

  // The string-list interface; Add(Text) adds StringValue(Text), Put
  // replaces only the text.
  int Count() const override { return items_.Count(); }
  std::string Get(int index) const override;
  TObject* GetObject(int index) const override;
  void Put(int index, const std::string& s) override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int a, int b) override;
  int Add(const std::string& s) override;
  // From a value list: texts, values (converted to this list's type) and
  // objects; from any other string list: texts and objects, each value the
  // text's StringValue. The sorted and duplicate rules apply; on an error
  // the list keeps what it held.
  void Assign(const TStrings& source) override;

  void Sort();
  bool Sorted() const { return sorted_; }
  // True sorts the list first; it needs a data type.
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  // Entries allocated: 16 at the first growth, then twice as many.
  int Capacity() const { return capacity_; }
  // Raises EListError "List capacity out of bounds (N)" below Count.
  void SetCapacity(int capacity);

 private:
  void Check(int index) const;
  void InsertItem(int index, TValueItem item);
  // Where Value goes in the sorted order, and whether an equal entry exists.
  bool Locate(const TValue& value, int& index) const;
  // Whether Entry sorts before Value, as Locate compares them.
  bool SortsBefore(const TValue& entry, const TValue& value) const;

  TValueItems items_;
  int capacity_ = 0;
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
  const TDataType* dataType_;
  const TStringType* plainText_;  // dataType_ when it is exactly a string type
};

}  // namespace tv
