#pragma once
// Lists of field references (the fields themselves are defined with the
// tables), and the routines on plain lists of objects.

#include <string>
#include <vector>

#include "platform/rtl/lists.h"

namespace tv {

class TDataField;

// A list of fields with their positions, found by field or by name.
class TAbstractFieldList : public TObject {
  TV_CLASS(TAbstractFieldList, TObject)
 public:
  virtual int Count() const = 0;
  virtual TDataField* Items(int index) const = 0;
  virtual bool Contains(const TDataField* field) const = 0;
  virtual void Remove(const TDataField* field) = 0;
  virtual void Clear() = 0;
};

// Fields in order; owns none of them.
class TFieldList : public TAbstractFieldList {
  TV_CLASS(TFieldList, TAbstractFieldList)
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  // Raises EListError "List index out of bounds (N)" outside the list.
  TDataField* Items(int index) const override;
  bool Contains(const TDataField* field) const override { return IndexOf(field) >= 0; }
  void Remove(const TDataField* field) override;
  void Clear() override { items_.clear(); }

  void Add(TDataField* field) { Insert(Count(), field); }
  // A field already contained: ignored, or refused with "FieldList doesn't
  // allow duplicates!", unless Duplicates accepts it.
  void Insert(int index, TDataField* field);
  int IndexOf(const TDataField* field) const;
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }

 private:
  std::vector<TDataField*> items_;
  TDuplicates duplicates_ = TDuplicates::dupAccept;
};

// Fields each with a text that is free for a default value.
class TDefaultValueFieldList : public TAbstractFieldList {
  TV_CLASS(TDefaultValueFieldList, TAbstractFieldList)
 public:
  int Count() const override { return static_cast<int>(entries_.size()); }
  TDataField* Items(int index) const override;
  bool Contains(const TDataField* field) const override { return Find(field) >= 0; }
  void Remove(const TDataField* field) override;
  void Clear() override { entries_.clear(); }

  void Add(TDataField* field, const std::string& defaultText = {});
  const std::string& DefaultText(int index) const;
  void SetDefaultText(int index, const std::string& text);

 private:
  struct TEntry {
    std::string Text;
    TDataField* Field;
  };
  int Find(const TDataField* field) const;
  void Check(int index) const;
  std::vector<TEntry> entries_;
};

// Appends every item of From to To; either missing raises.
void CopyListContent(const TList* fromList, TList* toList);
// Frees the items (objects), last first, and empties the list.
void FreeListItems(TList* list);
// FreeListItems, then the list itself; List is null afterwards.
void FreeListAndItems(TList*& list);
// The entry equal to Text, or else the first that begins with it (without
// case unless CaseSensitive), whose whole text then replaces Text.
bool CompleteText(const TStrings& strings, std::string& text, int& index, bool caseSensitive);

}  // namespace tv
