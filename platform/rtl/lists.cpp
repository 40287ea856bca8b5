#include "platform/rtl/lists.h"

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/rtl/sysutils.h"

namespace tv {

// --- TList

void TList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EListError(ListIndexErrorText(index));
}

void* TList::Items(int index) const {
  Check(index);
  return items_[static_cast<std::size_t>(index)];
}

void TList::SetItems(int index, void* item) {
  Check(index);
  items_[static_cast<std::size_t>(index)] = item;
}

int TList::Add(void* item) {
  items_.push_back(item);
  return Count() - 1;
}

void TList::Insert(int index, void* item) {
  if (index < 0 || index > Count()) throw EListError(ListIndexErrorText(index));
  items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
  Check(index);
  items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
  int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

int TList::IndexOf(const void* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
}

// --- TStrings

void TStrings::Put(int index, const std::string& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

void TStrings::Exchange(int a, int b) {
  BeginUpdate();
  try {
    const std::string s = Get(a);
    TObject* o = GetObject(a);
    Put(a, Get(b));
    PutObject(a, GetObject(b));
    Put(b, s);
    PutObject(b, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::Add(const std::string& s) {
  const int index = Count();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  const int index = Add(s);
  PutObject(index, object);
  return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

int TStrings::IndexOf(std::string_view s) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string line = Get(i);
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos && CompareStrings(std::string_view(line).substr(0, eq), name) == 0) return i;
  }
  return -1;
}

std::string TStrings::Names(int index) const {
  const std::string line = Get(index);
  const std::size_t eq = line.find('=');
  return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::Values(std::string_view name) const {
  const int index = IndexOfName(name);
  if (index < 0) return {};
  const std::string line = Get(index);
  return line.substr(line.find('=') + 1);
}

void TStrings::BeginUpdate() {
  if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TStrings& source) {
  if (&source == this) return;
  BeginUpdate();
  try {
    Clear();
    for (int i = 0; i < source.Count(); ++i) AddObject(source.Get(i), source.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) text.append(Get(i)).append("\r\n");
  return text;
}

void TStrings::SetText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  BeginUpdate();
  try {
    Clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) end = text.size();
      Add(std::string(text.substr(pos, end - pos)));
      pos = end;
      if (pos < text.size() && text[pos] == '\r') ++pos;
      if (pos < text.size() && text[pos] == '\n') ++pos;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  return CompareText(a, b);
}

// --- TStringList

void TStringList::Check(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(ListIndexErrorText(index));
}

std::string TStringList::Get(int index) const {
  Check(index);
  return items_[static_cast<std::size_t>(index)].String;
}

TObject* TStringList::GetObject(int index) const {
  Check(index);
  return items_[static_cast<std::size_t>(index)].Object;
}

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) throw EStringListError(kSortedListErrorText);
  Check(index);
  items_[static_cast<std::size_t>(index)].String = s;
}

void TStringList::PutObject(int index, TObject* object) {
  Check(index);
  items_[static_cast<std::size_t>(index)].Object = object;
}

void TStringList::Insert(int index, const std::string& s) {
  if (sorted_) throw EStringListError(kSortedListErrorText);
  if (index < 0 || index > Count()) throw EStringListError(ListIndexErrorText(index));
  items_.insert(items_.begin() + index, TItem{s, nullptr});
}

void TStringList::Delete(int index) {
  Check(index);
  items_.erase(items_.begin() + index);
}

void TStringList::Exchange(int a, int b) {
  Check(a);
  Check(b);
  std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
}

int TStringList::Add(const std::string& s) {
  if (!sorted_) {
    items_.push_back(TItem{s, nullptr});
    return Count() - 1;
  }
  int index = 0;
  if (Find(s, index)) {
    switch (duplicates_) {
      case TDuplicates::dupIgnore: return index;
      case TDuplicates::dupError: throw EStringListError(kDuplicateStringText);
      case TDuplicates::dupAccept: break;
    }
  }
  items_.insert(items_.begin() + index, TItem{s, nullptr});
  return index;
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

bool TStringList::Find(std::string_view s, int& index) const {
  int low = 0, high = Count() - 1;
  bool found = false;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    const int c = CompareStrings(items_[static_cast<std::size_t>(mid)].String, s);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        // With duplicates the first equal entry is wanted: keep going left.
        if (duplicates_ != TDuplicates::dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

void TStringList::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [this](const TItem& a, const TItem& b) { return CompareStrings(a.String, b.String) < 0; });
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_) Sort();
  sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == caseSensitive_) return;
  caseSensitive_ = caseSensitive;
  if (sorted_) Sort();
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

}  // namespace tv
