#include "platform/rtl/lists.h"

#include <algorithm>
#include <cstdint>

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

namespace {

// Each line of Text, which ends at a NUL; lines end at CR, LF or CR LF.
template <class Take>
void ForEachLine(std::string_view text, Take&& take) {
  text = text.substr(0, text.find('\0'));
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    take(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

}  // namespace

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    ForEachLine(text, [this](std::string_view line) { Add(std::string(line)); });
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

// --- TTextLines

void TTextLines::Check(int index) const {
  if (index < 0 || index >= Count()) throw EStringListError(ListIndexErrorText(index));
}

void TTextLines::CheckRoom(std::size_t size) {
  if (size > UINT32_MAX) throw EStringListError("Text too long for a list of lines");
}

std::string TTextLines::Get(int index) const {
  Check(index);
  const std::size_t begin = Begin(index);
  return text_.substr(begin, ends_[static_cast<std::size_t>(index)] - begin);
}

TObject* TTextLines::GetObject(int index) const {
  Check(index);
  return nullptr;
}

void TTextLines::PutObject(int index, TObject* object) {
  Check(index);
  if (object != nullptr) throw EStringListError("Lines of text hold no objects");
}

void TTextLines::ShiftEnds(int first, std::ptrdiff_t change) {
  for (auto end = ends_.begin() + first; end != ends_.end(); ++end)
    *end = static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(*end) + change);
}

void TTextLines::Put(int index, const std::string& s) {
  Check(index);
  const std::size_t begin = Begin(index), length = ends_[static_cast<std::size_t>(index)] - begin;
  CheckRoom(text_.size() - length + s.size());
  text_.replace(begin, length, s);
  ShiftEnds(index, static_cast<std::ptrdiff_t>(s.size()) - static_cast<std::ptrdiff_t>(length));
}

void TTextLines::Insert(int index, const std::string& s) {
  if (index < 0 || index > Count()) throw EStringListError(ListIndexErrorText(index));
  CheckRoom(text_.size() + s.size());
  const std::size_t begin = Begin(index);
  text_.insert(begin, s);
  ends_.insert(ends_.begin() + index, static_cast<std::uint32_t>(begin));
  ShiftEnds(index, static_cast<std::ptrdiff_t>(s.size()));
}

void TTextLines::Delete(int index) {
  Check(index);
  const std::size_t begin = Begin(index), length = ends_[static_cast<std::size_t>(index)] - begin;
  text_.erase(begin, length);
  ends_.erase(ends_.begin() + index);
  ShiftEnds(index, -static_cast<std::ptrdiff_t>(length));
}

void TTextLines::Clear() {
  // The room goes too: a memo cleared after a large log gives it back.
  std::string().swap(text_);
  std::vector<std::uint32_t>().swap(ends_);
}

// Counted first, then filled: exactly the room needed, never the double
// that growing by steps may leave.
void TTextLines::SetText(std::string_view text) {
  std::size_t lines = 0, characters = 0;
  ForEachLine(text, [&](std::string_view line) {
    ++lines;
    characters += line.size();
  });
  CheckRoom(characters);
  if (lines > static_cast<std::size_t>(INT32_MAX))
    throw EStringListError("Too many lines for a list of lines");
  BeginUpdate();
  try {
    Clear();
    text_.reserve(characters);
    ends_.reserve(lines);
    ForEachLine(text, [&](std::string_view line) {
      text_.append(line);
      ends_.push_back(static_cast<std::uint32_t>(text_.size()));
    });
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace tv
