#include "data/types/value_list.h"

#include "data/types/data_types.h"

#include <typeinfo>

#include "data/types/string_types.h"

namespace tv {

// Only the string type itself: its descendants may order texts otherwise.
TValueList::TValueList(const TDataType* dataType)
    : dataType_(dataType),
      plainText_(dataType != nullptr && typeid(*dataType) == typeid(TStringType)
                     ? static_cast<const TStringType*>(dataType)
                     : nullptr) {}

void TValueList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(ListIndexErrorText(index));
}

void TValueList::InsertItem(int index, TValueItem item) {
  if (Count() == capacity_) capacity_ = capacity_ < 16 ? 16 : capacity_ * 2;
  items_.Insert(index, std::move(item));
}

bool TValueList::Locate(const TValue& value, int& index) const {
  // Bisection for the first entry that does not sort before Value. Texts
  // of a plain string type are compared in place, without a call per step.
  const TValueItem* found = nullptr;
  if (plainText_ != nullptr && value.DataType != nullptr && value.DataType->HoldsText()) {
    const bool caseSensitive = plainText_->CaseSensitive();
    index = items_.PartitionPoint(
        [&](const TValue& entry) { return CompareTexts(entry.Text, value.Text, caseSensitive) < 0; }, found);
    return found && CompareTexts(found->Value.Text, value.Text, caseSensitive) == 0;
  }
  index = items_.PartitionPoint(
      [this, &value](const TValue& entry) { return dataType_->Compare(entry, value) < 0; }, found);
  return found && dataType_->Compare(found->Value, value) == 0;
}

bool TValueList::Find(const TValue& value, int& index) const {
  if (!sorted_) throw Exception(ClassName() + ".Find: Shouldn't use Find if list isn't sorted!");
  return Locate(value, index);
}

int TValueList::AddValueObject(const std::string& text, const TValue& value, TObject* object) {
  TValue converted = ConvertToType(dataType_, value);
  int index = Count();
  // Values that come in order (rows read back in key order) go last after
  // one comparison with the last value instead of a search.
  const bool last = !sorted_ || index == 0 || SortsBefore(items_.At(index - 1).Value, converted);
  if (!last && Locate(converted, index)) {
    if (duplicates_ == TDuplicates::dupIgnore) return index;
    if (duplicates_ == TDuplicates::dupError) throw EStringListError(kDuplicateStringText);
  }
  InsertItem(index, TValueItem{std::move(converted), text, object});
  return index;
}

bool TValueList::SortsBefore(const TValue& entry, const TValue& value) const {
  if (plainText_ != nullptr && value.DataType != nullptr && value.DataType->HoldsText())
    return CompareTexts(entry.Text, value.Text, plainText_->CaseSensitive()) < 0;
  return dataType_->Compare(entry, value) < 0;
}

int TValueList::Add(const std::string& s) {
  return AddValueObject(s, StringValue(s), nullptr);
}

int TValueList::IndexOfValue(const TValue& value) const {
  const TValue converted = ConvertToType(dataType_, value);
  int index = -1;
  if (sorted_) return Locate(converted, index) ? index : -1;
  const TDataType& type = dataType_ ? *dataType_ : TDataType::TypeOf(converted);
  for (int i = 0; i < Count(); ++i)
    if (type.Compare(items_.At(i).Value, converted) == 0) return i;
  return -1;
}

TValue TValueList::GetValueAt(int index) const {
  Check(index);
  return items_.At(index).Value;
}

void TValueList::PutValue(int index, const TValue& value) {
  if (sorted_) throw EStringListError(kSortedListErrorText);
  Check(index);
  items_.At(index).Value = ConvertToType(dataType_, value);
  items_.ValueChanged(index);
}

std::string TValueList::Get(int index) const {
  Check(index);
  return items_.At(index).String;
}

TObject* TValueList::GetObject(int index) const {
  Check(index);
  return items_.At(index).Object;
}

void TValueList::Put(int index, const std::string& s) {
  Check(index);
  items_.At(index).String = s;
}

void TValueList::PutObject(int index, TObject* object) {
  Check(index);
  items_.At(index).Object = object;
}

void TValueList::Insert(int index, const std::string& s) {
  if (sorted_) throw EStringListError(kSortedListErrorText);
  if (index < 0 || index > Count()) throw EStringListError(ListIndexErrorText(index));
  InsertItem(index, TValueItem{ConvertToType(dataType_, StringValue(s)), s, nullptr});
}

void TValueList::Delete(int index) {
  Check(index);
  items_.Erase(index);
}

void TValueList::Clear() {
  items_.Clear();
}

void TValueList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  if (a == b) return;
  std::swap(items_.At(a), items_.At(b));
  items_.ValueChanged(a);
  items_.ValueChanged(b);
}

void TValueList::Assign(const TStrings& source) {
  if (&source == this) return;
  TValueList result(dataType_);
  result.sorted_ = sorted_;
  result.duplicates_ = duplicates_;
  const auto* values = dynamic_cast<const TValueList*>(&source);
  for (int i = 0; i < source.Count(); ++i) {
    const std::string text = source.Strings(i);
    result.AddValueObject(text, values ? values->GetValueAt(i) : StringValue(text), source.Objects(i));
  }
  BeginUpdate();
  items_.Assign(result.items_.TakeAll());
  capacity_ = std::max(capacity_, result.capacity_);
  EndUpdate();
}

namespace {
// The quicksort of the platform's lists: pivot the middle entry, exchange
// from both ends, recurse on the left part and loop on the right one. Equal
// values do not keep their order.
void QuickSort(std::vector<TValueItem>& items, const TDataType& type, int left, int right) {
  while (left < right) {
    int i = left, j = right;
    const TValue pivot = items[static_cast<std::size_t>((left + right) / 2)].Value;
    while (i <= j) {
      while (type.Compare(items[static_cast<std::size_t>(i)].Value, pivot) < 0) ++i;
      while (type.Compare(items[static_cast<std::size_t>(j)].Value, pivot) > 0) --j;
      if (i <= j) {
        std::swap(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    }
    if (left < j) QuickSort(items, type, left, j);
    left = i;
  }
}
}  // namespace

void TValueList::Sort() {
  if (sorted_ || Count() < 2) return;
  if (!dataType_) throw Exception("Cannot sort a list with unspecified datatype!");
  std::vector<TValueItem> all = items_.TakeAll();
  try {
    QuickSort(all, *dataType_, 0, static_cast<int>(all.size()) - 1);
  } catch (...) {
    items_.Assign(std::move(all));  // a failing comparison leaves the entries, in some order
    throw;
  }
  items_.Assign(std::move(all));
}

void TValueList::SetSorted(bool sorted) {
  if (sorted == sorted_) return;
  if (sorted) {
    if (!dataType_) throw Exception("Cannot sort a list with unspecified datatype!");
    Sort();
  }
  sorted_ = sorted;
}

void TValueList::SetCapacity(int capacity) {
  if (capacity < Count())
    throw EListError(
        std::string("List capacity out of bounds (").append(std::to_string(capacity)).append(")"));
  capacity_ = capacity;
}

}  // namespace tv
