#pragma once
// A hash index over a row storage's key tree, for storages looked up far
// more often than they change.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "data/storage/row_storage.h"
#include "data/types/string_types.h"

namespace tv {

// The rows of a storage by their key texts as the storage compares them
// (each shortened to its field's size, letters without case where its type
// has none). A pass looks up an entry for each property of each control and
// a program asks for its texts by name: a hash beats the search through the
// storage's tree. Building it costs a step per row, so it is built only once
// the tree has been searched, since its last change, as often as the tree's
// first level has entries: a dialog's dozen lookups stay in the tree. Used by
// one thread, as the translator is.
class TKeyIndex {
 public:
  // Keys: the storage's key fields in order.
  TKeyIndex(TRowStorage& storage, std::vector<const TDataField*> keys);
  // True while the index is built and the storage's rows and keys are those
  // it holds.
  bool Current() const { return built_ && version_ == storage_->TreeVersion(); }
  // The row whose key fields hold Texts, in the order of the keys, or null.
  TDataRow* Find(std::initializer_list<std::string_view> texts);
  // Takes in a row just put into the storage, the index current before: it
  // is current again.
  void Add(TDataRow* row);

 private:
  // A key field and its string type, whose rules cut and fold its texts
  // (none for a key of another type: its texts folded as they stand).
  struct TKeyPart {
    const TDataField* Field;
    const TStringType* Type;
  };
  TDataRow* SearchTree(std::initializer_list<std::string_view> texts) const;
  void Build();
  void Put(TDataRow* row);
  // Adds a key field's text to Key as the storage compares it, and an end.
  static void AppendPart(std::string& key, const TKeyPart& part, std::string_view text);
  TRowStorage* storage_;
  std::vector<TKeyPart> keys_;
  bool built_ = false;
  std::uint64_t version_;
  int treeSearches_ = 0;  // since the storage's last change
  std::unordered_map<std::string, TDataRow*> rows_;
  std::string probe_;  // the key being looked up, its buffer kept
};

}  // namespace tv
