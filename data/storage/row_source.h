#pragma once
// Anything that yields the rows of one table, one after the other.

#include <string>

#include "data/elements/data_row.h"
#include "data/elements/data_table.h"

namespace tv {

// Rows to iterate: the minimal view of anything that yields rows of one table.
class TRowSource : public TObject {
  TV_CLASS(TRowSource, TObject)
 public:
  explicit TRowSource(const TDataTable& table) : dataTable_(&table) {}
  const TDataTable& DataTable() const { return *dataTable_; }
  virtual TDataRow* First() = 0;
  virtual TDataRow* Next() = 0;
  virtual void BeforeIteration() {}
  virtual const TRowSortOrder& SortOrder() const = 0;
  virtual bool IsStorage() const { return true; }
  virtual std::string GetName() const { return dataTable_->TableName(); }
  // The rows as text, one line each.
  virtual std::string Dump();

 private:
  const TDataTable* dataTable_;
};

}  // namespace tv
