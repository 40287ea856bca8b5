#include "data/storage/key_index.h"

#include "data/elements/data_row.h"
#include "data/types/data_types.h"
#include "platform/rtl/sysutils.h"

namespace tv {

TKeyIndex::TKeyIndex(TRowStorage& storage, std::vector<const TDataField*> keys)
    : storage_(&storage), version_(storage.TreeVersion()) {
  for (const TDataField* key : keys)
    keys_.push_back({key, dynamic_cast<const TStringType*>(key->DataType())});
}

void TKeyIndex::Build() {
  const std::vector<TDataRow*> rows = storage_->TreeRows();
  rows_.clear();
  rows_.reserve(rows.size());
  for (TDataRow* row : rows) Put(row);
  built_ = true;
}

void TKeyIndex::AppendPart(std::string& key, const TKeyPart& part, std::string_view text) {
  if (part.Type != nullptr)
    part.Type->AppendComparable(key, text);
  else
    key += UpperCase(text);
  key.push_back('\n');
}

void TKeyIndex::Put(TDataRow* row) {
  probe_.clear();
  for (const TKeyPart& part : keys_) AppendPart(probe_, part, row->GetFStringValue(part.Field));
  rows_.try_emplace(probe_, row);
}

void TKeyIndex::Add(TDataRow* row) {
  Put(row);
  version_ = storage_->TreeVersion();
}

TDataRow* TKeyIndex::SearchTree(std::initializer_list<std::string_view> texts) const {
  // The tree wants a text per level; more texts than keys cannot match.
  if (texts.size() != keys_.size()) return nullptr;
  if (static_cast<int>(keys_.size()) != storage_->LevelCountOfTree() - 1)
    return storage_->LocateRow(std::vector<std::string>(texts.begin(), texts.end()));
  // Down the levels as LocateRow goes, without a list of copied texts: each
  // node converts its text to its key's type.
  TAbstractRow* found = &storage_->Root();
  for (std::string_view text : texts) {
    auto& node = static_cast<TSubTotalRow&>(*found);
    const int child = node.FindChild(StringValue(text));
    if (child < 0) return nullptr;
    found = node.Child(child);
  }
  return static_cast<TDataRow*>(found);
}

TDataRow* TKeyIndex::Find(std::initializer_list<std::string_view> texts) {
  if (!Current()) {
    if (version_ != storage_->TreeVersion()) {
      built_ = false;
      rows_.clear();
      treeSearches_ = 0;
      version_ = storage_->TreeVersion();
    }
    if (treeSearches_ < storage_->Root().ChildCount()) {
      ++treeSearches_;
      return SearchTree(texts);
    }
    Build();
  }
  if (texts.size() != keys_.size()) return nullptr;
  probe_.clear();
  auto part = keys_.begin();
  for (std::string_view text : texts) AppendPart(probe_, *part++, text);
  auto found = rows_.find(probe_);
  return found == rows_.end() ? nullptr : found->second;
}

}  // namespace tv
