#pragma once
// TList, a plain list of references, and the string lists: TStrings, the
// abstract list of texts each with an object, and TStringList, its
// implementation with sorting and duplicate rules. Objects are never owned.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/object.h"

namespace tv {

class TList : public TObject {
  TV_CLASS(TList, TObject)
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  void* Items(int index) const;
  void SetItems(int index, void* item);
  int Add(void* item);
  void Insert(int index, void* item);
  void Delete(int index);
  // Index of the removed item, -1 when it was not in the list.
  int Remove(void* item);
  int IndexOf(const void* item) const;
  void Exchange(int a, int b);
  void Clear() { items_.clear(); }

 private:
  void Check(int index) const;
  std::vector<void*> items_;
};

class TStrings : public TObject {
  TV_CLASS(TStrings, TObject)
 public:
  virtual int Count() const = 0;
  virtual std::string Get(int index) const = 0;
  virtual TObject* GetObject(int index) const = 0;
  virtual void Put(int index, const std::string& s);
  virtual void PutObject(int index, TObject* object) = 0;
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int a, int b);
  virtual int Add(const std::string& s);
  virtual int IndexOf(std::string_view s) const;

  std::string Strings(int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  int AddObject(const std::string& s, TObject* object);
  void InsertObject(int index, const std::string& s, TObject* object);
  int IndexOfObject(const TObject* object) const;

  // Lines of the form name=value: the name is the text before the first
  // "=", compared as the list compares its texts.
  int IndexOfName(std::string_view name) const;
  std::string Names(int index) const;
  // The value of the first line with Name; "" when there is none.
  std::string Values(std::string_view name) const;

  // Updates are nested; the list hears of the first begin and the last end.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Every text and object of Source, in its order.
  virtual void Assign(const TStrings& source);

  // Lines joined with CR LF, each line ended.
  std::string Text() const;
  // Lines end at CR, LF or CR LF; a NUL ends the text.
  virtual void SetText(std::string_view text);

 protected:
  virtual void SetUpdateState(bool /*updating*/) {}
  virtual int CompareStrings(std::string_view a, std::string_view b) const;

 private:
  int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  TV_CLASS(TStringList, TStrings)
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Get(int index) const override;
  TObject* GetObject(int index) const override;
  void Put(int index, const std::string& s) override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override { items_.clear(); }
  void Exchange(int a, int b) override;
  int Add(const std::string& s) override;
  int IndexOf(std::string_view s) const override;

  // Bisection in a sorted list: true when S is there, Index its first place
  // (with dupAccept) or its place; otherwise Index is where S belongs.
  bool Find(std::string_view s, int& index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);

 protected:
  int CompareStrings(std::string_view a, std::string_view b) const override;

 private:
  struct TItem {
    std::string String;
    TObject* Object = nullptr;
  };
  void Check(int index) const;
  std::vector<TItem> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
  bool caseSensitive_ = false;
};

// Lines without objects, kept in one buffer: a memo's lines. A line costs
// its characters and four bytes, however short (a string list spends some
// forty on each), so that a large log shown in a memo takes about what its
// file takes. An object other than null is refused; the text is limited to
// 4 GiB.
class TTextLines : public TStrings {
  TV_CLASS(TTextLines, TStrings)
 public:
  int Count() const override { return static_cast<int>(ends_.size()); }
  std::string Get(int index) const override;
  TObject* GetObject(int index) const override;
  void Put(int index, const std::string& s) override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetText(std::string_view text) override;
  // The bytes the lines hold in memory.
  std::size_t MemoryUsed() const { return text_.capacity() + ends_.capacity() * sizeof(std::uint32_t); }

 private:
  void Check(int index) const;
  std::size_t Begin(int index) const { return index == 0 ? 0 : ends_[static_cast<std::size_t>(index) - 1]; }
  // Moves the ends of the lines from First on by Change characters.
  void ShiftEnds(int first, std::ptrdiff_t change);
  static void CheckRoom(std::size_t size);

  std::string text_;                 // every line's characters, one after another
  std::vector<std::uint32_t> ends_;  // where each line ends in text_
};

}  // namespace tv
