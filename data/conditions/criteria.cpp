#include "data/conditions/criteria.h"

#include <algorithm>

#include "data/elements/data_error.h"
#include "data/elements/data_table.h"
#include "data/types/data_types.h"

namespace tv {

namespace {
std::string WithIndex(const char* text, int index) {
  return std::string(text).append(std::to_string(index));
}
TObject* Key(const TDataField* field) {
  return const_cast<TDataField*>(field);
}
}  // namespace

// --- TCriteriaValueList

TCriteriaValueList::TCriteriaValueList(const TDataField* field) : field_(field) {
  RequireCriteria(field != nullptr, "TCriteriaValueList.Create: Field <> nil");
}

bool TCriteriaValueList::Find(const TValue& value, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const int middle = (low + high) / 2;
    const int order = Compare(entries_[static_cast<std::size_t>(middle)].Start, value);
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
      if (order == 0) {
        found = true;
        low = middle;
      }
    }
  }
  index = low;
  return found;
}

int TCriteriaValueList::Add(const TValue& value) {
  int index = 0;
  if (Find(value, index)) return index;
  if (Count() == capacity_) capacity_ = capacity_ < 16 ? 16 : capacity_ * 2;
  entries_.insert(entries_.begin() + index, TEntry{value, value});
  return index;
}

int TCriteriaValueList::AddInterval(const TValue& start, const TValue& end) {
  const int index = Add(start);
  entries_[static_cast<std::size_t>(index)].End = end;
  return index;
}

bool TCriteriaValueList::Contains(const TValue& value) const {
  int index = 0;
  if (Find(value, index)) return true;
  return index > 0 && Compare(entries_[static_cast<std::size_t>(index - 1)].End, value) >= 0;
}

void TCriteriaValueList::CheckIndex(int index, const char* operation) const {
  if (index >= 0 && index < Count()) return;
  RequireCriteria(false, WithIndex(operation, index));
}

TValue TCriteriaValueList::Get(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(ListIndexErrorText(index));
  return entries_[static_cast<std::size_t>(index)].Start;
}

TValue TCriteriaValueList::Get2(int index) const {
  CheckIndex(index, "TCriteriaValueList.Get2: (Index >= 0) and (Index < FCount), Index: ");
  return entries_[static_cast<std::size_t>(index)].End;
}

void TCriteriaValueList::Put2(int index, const TValue& value) {
  CheckIndex(index, "TCriteriaValueList.Put2: (Index >= 0) and (Index < FCount), Index: ");
  entries_[static_cast<std::size_t>(index)].End = value;
}

void TCriteriaValueList::Delete(int index) {
  CheckIndex(index, "TCriteriaValueList.Delete: (Index >= 0) and (Index < FCount), Index: ");
  entries_.erase(entries_.begin() + index);
}

void TCriteriaValueList::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
  capacity_ = 0;
}

// --- TCriteriaField

TCriteriaField::TCriteriaField(TObject* owner, const TDataField* field)
    : TNiceCondition(owner),
      values_((RequireCriteria(field != nullptr, "TCriteriaField.Create: Field <> nil"), field)) {}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateCopy(TObject* owner, const TCriteriaField* source) {
  RequireCriteria(source != nullptr, "TCriteriaField.CreateCopy: CriteriaField <> nil");
  auto copy = std::make_unique<TCriteriaField>(owner, &source->Field());
  copy->acceptAll_ = source->acceptAll_;
  copy->acceptNone_ = source->acceptNone_;
  if (!source->acceptAll_ && !source->acceptNone_)
    for (int i = 0; i < source->Count(); ++i)
      copy->values_.AddInterval(source->values_.Get(i), source->values_.Get2(i));
  return copy;
}

void TCriteriaField::AddValue(const std::string& text) {
  AddValue(StringValue(text));
}

void TCriteriaField::AddValue(const TValue& value) {
  if (acceptAll_) return;
  const TValue v = ConvertToType(Field().DataType(), value);
  BeginUpdate();
  acceptNone_ = false;
  int index = 0;
  const bool listed =
      values_.Find(v, index) || (index > 0 && Field().DataType()->Compare(v, values_.Get2(index - 1)) <= 0);
  if (!listed) values_.Add(v);
  EndUpdate();
  Changed();
}

void TCriteriaField::AddInterval(const TValue& start, const TValue& end) {
  if (acceptAll_) return;
  const TDataType* type = Field().DataType();
  BeginUpdate();
  acceptNone_ = false;
  AddRange(ConvertToType(type, start), ConvertToType(type, end));
  EndUpdate();
  Changed();
}

void TCriteriaField::Reset(bool acceptAll, bool acceptNone) {
  BeginUpdate();
  values_.Clear();
  acceptAll_ = acceptAll;
  acceptNone_ = acceptNone;
  EndUpdate();
  Changed();
}

void TCriteriaField::SetAcceptAll() {
  Reset(true, false);
}
void TCriteriaField::SetAcceptNone() {
  Reset(false, true);
}
void TCriteriaField::Clear() {
  Reset(false, false);
}

bool TCriteriaField::HasExactlyOneValue() const {
  return !acceptAll_ && !acceptNone_ && values_.Count() == 1 && !GetIsInterval(0);
}

TValue TCriteriaField::OnlyValue() const {
  if (!HasExactlyOneValue())
    ReportDataError(desFatal, "OnlyValue",
                    "TCriteriaField.OnlyValue called when HasExactlyOneValue is False!");
  return values_.Get(0);
}

TValue TCriteriaField::GetStartValue(int idx) const {
  RequireCriteria(
      idx >= 0 && idx < Count(),
      WithIndex("TCriteriaField.GetStartValue: (idx >= 0) and (idx < FValues.Count), idx: ", idx));
  return values_.Get(idx);
}

TValue TCriteriaField::GetEndValue(int idx) const {
  RequireCriteria(idx >= 0 && idx < Count(),
                  WithIndex("TCriteriaField.GetEndValue: (idx >= 0) and (idx < FValues.Count), idx: ", idx));
  return values_.Get2(idx);
}

bool TCriteriaField::GetIsInterval(int idx) const {
  RequireCriteria(
      idx >= 0 && idx < Count(),
      WithIndex("TCriteriaField.GetIsInterval: (idx >= 0) and (idx < FValues.Count), idx: ", idx));
  return Field().DataType()->Compare(values_.Get(idx), values_.Get2(idx)) != 0;
}

TValue TCriteriaField::GetSingleValue(int idx) const {
  RequireCriteria(
      idx >= 0 && idx < Count(),
      WithIndex("TCriteriaField.GetSingleValue: (idx >= 0) and (idx < FValues.Count), idx: ", idx));
  if (GetIsInterval(idx))
    throw Exception("TCriteriaField.GetSingleValue: Tried to get single value from interval");
  return values_.Get(idx);
}

bool TCriteriaField::AcceptsValue(const TValue& value) const {
  if (AcceptsAll()) return true;
  if (acceptNone_) return false;
  return values_.Contains(value);
}

bool TCriteriaField::AcceptsRow(const TAbstractRow& row) const {
  if (!row.IsDataRow() && !row.FieldHasValue(&Field())) return true;
  if (AcceptsAll()) return true;
  if (acceptNone_) return false;
  return values_.Contains(row.GetFieldValue(&Field()));
}

void TCriteriaField::AddRange(const TValue& start, const TValue& end) {
  int index = 0;
  if (values_.Find(start, index)) {
    if (Field().DataType()->Compare(values_.Get2(index), end) < 0) values_.Put2(index, end);
    return;
  }
  values_.AddInterval(start, end);
}

void TCriteriaField::CopyFrom(const TCriteriaField* source) {
  RequireCriteria(source != nullptr, "TCriteriaField.CopyFrom: Source <> nil");
  RequireCriteria(source->Field().DataType() == Field().DataType(),
                  "TCriteriaField.CopyFrom: Different DataField types!");
  if (source == this) return;
  BeginUpdate();
  values_.Clear();
  acceptAll_ = source->acceptAll_;
  acceptNone_ = source->acceptNone_;
  for (int i = 0; i < source->Count(); ++i)
    values_.AddInterval(source->values_.Get(i), source->values_.Get2(i));
  EndUpdate();
}

std::unique_ptr<TCriteriaField> TCriteriaField::CreateIntersection(TObject* owner, const TDataField* field,
                                                                   const TCriteriaField* src1,
                                                                   const TCriteriaField* src2) {
  RequireCriteria(field != nullptr, "TCriteriaField.CreateIntersection: Field <> nil");
  RequireCriteria(src1 != nullptr, "TCriteriaField.CreateIntersection: Src1 <> nil");
  RequireCriteria(src2 != nullptr, "TCriteriaField.CreateIntersection: Src2 <> nil");
  auto result = std::make_unique<TCriteriaField>(owner, field);
  result->CopyFrom(src1);
  result->IntersectWith(src2);
  return result;
}

void TCriteriaField::IntersectWith(const TCriteriaField* cond) {
  RequireCriteria(cond != nullptr, "TCriteriaField.IntersectWith: Cond <> nil");
  if (cond == this || cond->AcceptsAll() || acceptNone_) return;
  if (cond->acceptNone_) {
    SetAcceptNone();
    return;
  }
  if (AcceptsAll()) {
    CopyFrom(cond);
    Changed();
    return;
  }
  const TDataType& type = *Field().DataType();
  std::vector<std::pair<TValue, TValue>> common;
  for (int i = 0; i < Count(); ++i)
    for (int j = 0; j < cond->Count(); ++j) {
      const TValue start = MaxValue(type, values_.Get(i), cond->values_.Get(j));
      const TValue end = MinValue(type, values_.Get2(i), cond->values_.Get2(j));
      if (type.Compare(start, end) <= 0) common.emplace_back(start, end);
    }
  if (common.empty()) {
    SetAcceptNone();
    return;
  }
  BeginUpdate();
  values_.Clear();
  for (const auto& [start, end] : common) AddRange(start, end);
  EndUpdate();
  Changed();
}

void TCriteriaField::UnionAddFrom(const TCriteriaField* cond) {
  RequireCriteria(cond != nullptr, "TCriteriaField.UnionAddFrom: Cond <> nil");
  if (cond == this || AcceptsAll() || cond->acceptNone_) return;
  if (cond->AcceptsAll()) {
    SetAcceptAll();
    return;
  }
  BeginUpdate();
  acceptNone_ = false;
  for (int i = 0; i < cond->Count(); ++i) AddRange(cond->values_.Get(i), cond->values_.Get2(i));
  EndUpdate();
  Changed();
}

// --- TCriteria

TCriteria::TCriteria() = default;

TCriteria::~TCriteria() {
  for (TCriteriaFieldIterator it(*this); !it.AtEnd(); it.Next()) it.CriteriaField()->SetOwner(nullptr);
  fields_.ClearAndFreeData();
}

std::unique_ptr<TCriteria> TCriteria::CreateCopy(const TCriteria* source) {
  auto copy = std::make_unique<TCriteria>();
  if (!source) return copy;
  for (TCriteriaFieldIterator it(*source); !it.AtEnd(); it.Next())
    copy->fields_.AddWithData(Key(it.DataField()),
                              TCriteriaField::CreateCopy(copy.get(), it.CriteriaField()).release());
  return copy;
}

TCriteriaField* TCriteria::FindCriteriaField(const TDataField* field) const {
  TObject* data = nullptr;
  return fields_.Find(field, data) ? static_cast<TCriteriaField*>(data) : nullptr;
}

TCriteriaField* TCriteria::FindCriteriaField(const TDataField* field, bool create) {
  RequireCriteria(field != nullptr, "TCriteria.FindCriteriaField: Field <> nil");
  if (TCriteriaField* found = FindCriteriaField(field)) return found;
  if (!create) return nullptr;
  auto made = std::make_unique<TCriteriaField>(this, field);
  fields_.AddWithData(Key(field), made.get());
  return made.release();
}

bool TCriteria::HasCriteriaFor(const TDataField* field) const {
  const TCriteriaField* found = FindCriteriaField(field);
  return found && !found->IsUnrestricted();
}

bool TCriteria::RestrictsField(const TDataField* field) const {
  const TCriteriaField* found = FindCriteriaField(field);
  return found && !found->AcceptsAll();
}

bool TCriteria::AcceptsRow(const TAbstractRow* row) const {
  RequireCriteria(row != nullptr, "TCriteria.AcceptsRow: ARow <> nil");
  return AcceptsRow(*row);
}

bool TCriteria::AcceptsRow(const TAbstractRow& row) const {
  if (Count() == 0) return true;  // a storage without a key condition, the usual case
  const TDataTable& table = row.DataTable();
  for (int i = 0; i < table.FieldCount(); ++i) {
    const TDataField* field = table.GetField(i);
    if (!row.IsDataRow() && !row.FieldHasValue(field)) continue;
    const TCriteriaField* criteriaField = FindCriteriaField(field);
    if (criteriaField && !criteriaField->AcceptsValue(row.IndexValue(i))) return false;
  }
  return true;
}

bool TCriteria::AcceptsRowByFields(const TAbstractRow& row) const {
  for (TCriteriaFieldIterator it(*this); !it.AtEnd(); it.Next())
    if (!it.CriteriaField()->AcceptsRow(row)) return false;
  return true;
}

void TCriteria::Traverse(TGetRowsHandler& handler, TSubTotalRow& node) const {
  const bool lastLevelWalk = handler.LastLevelFlag && node.Level() == handler.LastKeyLevel();
  if (handler.KeyedDescent && !lastLevelWalk && node.KeyField()) {
    if (const TCriteriaField* fixed = FindCriteriaField(node.KeyField());
        fixed && fixed->HasExactlyOneValue()) {
      const int child = node.FindChild(fixed->OnlyValue());
      if (child >= 0) handler.Handle(*node.Child(child));
      return;
    }
  }
  TCondition::Traverse(handler, node);
}

void TCriteria::IntersectWith(const TCriteria& other) {
  if (&other == this) return;
  BeginUpdate();
  for (TCriteriaFieldIterator it(other); !it.AtEnd(); it.Next())
    FindCriteriaField(it.DataField(), true)->IntersectWith(it.CriteriaField());
  EndUpdate();
}

}  // namespace tv
