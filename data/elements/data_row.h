#pragma once
// Rows: one value per key and data field of a table, held in one flat
// buffer laid out by the table.

#include <memory>
#include <string>
#include <vector>

#include "data/types/value.h"
#include "platform/rtl/lists.h"

namespace tv {

class TDataField;
class TDataTable;

enum TRowState : unsigned char {
  rsAccepted = 0,
  rsModified = 1,
  rsDeleted = 2,
  rsInserted = 3,
  rsOutside = 4,
  rsExternControlled = 5,
};

class TAbstractRow : public TObject {
  TV_CLASS(TAbstractRow, TObject)
 public:
  const TDataTable& DataTable() const { return *dataTable_; }
  unsigned char* Buffer() { return buffer_.data(); }
  const unsigned char* Buffer() const { return buffer_.data(); }
  // How memo texts longer than their slot are kept outside the buffer.
  TOverflowCallback Overflow(int idx) const;

  // The field's position among the keys and data fields of the table, or
  // -1; a missing row answers -1 too.
  int IndexOfField(const TDataField* field) const;
  // The field's value: read from the buffer at its position, or computed
  // by the field for a field without one.
  TValue GetFieldValue(const TDataField* field) const;
  // The values of the keys and data fields, as a row is shown in messages.
  std::string DisplayText() const;

 protected:
  explicit TAbstractRow(const TDataTable& table);

 private:
  static void OverflowRoutine(void* context, std::intptr_t argument, std::string& text, TOverflowAction action);
  const TDataTable* dataTable_;
  std::vector<unsigned char> buffer_;
  std::vector<std::string> overflowTexts_;  // per position, for long memo texts
};

int IndexOfField(const TAbstractRow* row, const TDataField* field);

class TDataRow : public TAbstractRow {
  TV_CLASS(TDataRow, TAbstractRow)
 public:
  // A copy of the table's blank row, outside any storage.
  explicit TDataRow(const TDataTable* table);
  // The table's blank row: every key and data field with a data type holds
  // that type's default value.
  struct TBlank {};
  TDataRow(const TDataTable& table, TBlank);

  TRowState State() const { return state_; }

 private:
  TRowState state_ = rsExternControlled;
};

}  // namespace tv
