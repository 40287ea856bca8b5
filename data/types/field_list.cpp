#include "data/types/field_list.h"

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace tv {

// --- TFieldList

TDataField* TFieldList::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(ListIndexErrorText(index));
  return items_[static_cast<std::size_t>(index)];
}

void TFieldList::Remove(const TDataField* field) {
  const auto at = std::find(items_.begin(), items_.end(), field);
  if (at != items_.end()) items_.erase(at);
}

void TFieldList::Insert(int index, TDataField* field) {
  if (duplicates_ != TDuplicates::dupAccept && Contains(field)) {
    if (duplicates_ == TDuplicates::dupError) throw Exception("FieldList doesn't allow duplicates!");
    return;
  }
  if (index < 0 || index > Count()) throw EListError(ListIndexErrorText(index));
  items_.insert(items_.begin() + index, field);
}

int TFieldList::IndexOf(const TDataField* field) const {
  const auto at = std::find(items_.begin(), items_.end(), field);
  return at == items_.end() ? -1 : static_cast<int>(at - items_.begin());
}

// --- TDefaultValueFieldList

void TDefaultValueFieldList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(ListIndexErrorText(index));
}

TDataField* TDefaultValueFieldList::Items(int index) const {
  Check(index);
  return entries_[static_cast<std::size_t>(index)].Field;
}

int TDefaultValueFieldList::Find(const TDataField* field) const {
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Field == field) return static_cast<int>(i);
  return -1;
}

void TDefaultValueFieldList::Remove(const TDataField* field) {
  const int index = Find(field);
  if (index >= 0) entries_.erase(entries_.begin() + index);
}

void TDefaultValueFieldList::Add(TDataField* field, const std::string& defaultText) {
  entries_.push_back(TEntry{defaultText, field});
}

const std::string& TDefaultValueFieldList::DefaultText(int index) const {
  Check(index);
  return entries_[static_cast<std::size_t>(index)].Text;
}

void TDefaultValueFieldList::SetDefaultText(int index, const std::string& text) {
  Check(index);
  entries_[static_cast<std::size_t>(index)].Text = text;
}

// --- routines

void CopyListContent(const TList* fromList, TList* toList) {
  if (!fromList) throw Exception("CopyListContent: Invalid parameter! FromList = nil");
  if (!toList) throw Exception("CopyListContent: Invalid parameter! ToList = nil");
  const int count = fromList->Count();  // the same list may be both
  for (int i = 0; i < count; ++i) toList->Add(fromList->Items(i));
}

void FreeListItems(TList* list) {
  if (!list) return;
  for (int i = list->Count() - 1; i >= 0; --i) delete static_cast<TObject*>(list->Items(i));
  list->Clear();
}

void FreeListAndItems(TList*& list) {
  FreeListItems(list);
  delete list;
  list = nullptr;
}

bool CompleteText(const TStrings& strings, std::string& text, int& index, bool caseSensitive) {
  index = -1;
  for (int i = 0; i < strings.Count(); ++i)
    if (strings.Strings(i) == text) {
      index = i;
      return true;
    }
  const std::string wanted = caseSensitive ? text : LowerCase(text);
  for (int i = 0; i < strings.Count(); ++i) {
    const std::string entry = strings.Strings(i);
    const std::string compared = caseSensitive ? entry : LowerCase(entry);
    if (compared.compare(0, wanted.size(), wanted) == 0) {
      index = i;
      text = entry;
      return true;
    }
  }
  return false;
}

}  // namespace tv
