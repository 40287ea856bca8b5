#pragma once
// The rows of an aux table, kept in a storage of their own.

#include <memory>

#include "data/storage/abstract_row_storage.h"

namespace tv {

// The rows of an aux table, loaded from its bridge unless virtual.
class TCachingStorage : public TCustomRowStorage {
  TV_CLASS(TCachingStorage, TCustomRowStorage)
 public:
  static std::unique_ptr<TCachingStorage> Create(const TDataTable* dataTable);
  static std::unique_ptr<TCachingStorage> CreateVirtual(const TDataTable* dataTable);
  bool IsVirtual() const { return virtual_; }
  void Load();
  TPutResult PutCachedRow(std::unique_ptr<TDataRow>& row);

 private:
  TCachingStorage(const TDataTable* dataTable, bool isVirtual);
  bool virtual_;
};

// The cache of an aux table's rows.
class TAuxTableCache : public TCachingStorage {
  TV_CLASS(TAuxTableCache, TCachingStorage)
};

}  // namespace tv
