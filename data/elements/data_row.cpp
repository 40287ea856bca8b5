#include "data/elements/data_row.h"

#include "data/elements/data_error.h"
#include "data/elements/data_table.h"

namespace tv {

TAbstractRow::TAbstractRow(const TDataTable& table)
    : dataTable_(&table),
      buffer_(static_cast<std::size_t>(table.RowDataSize()), 0),
      overflowTexts_(static_cast<std::size_t>(table.FieldCount())) {}

void TAbstractRow::OverflowRoutine(void* context, std::intptr_t argument, std::string& text, TOverflowAction action) {
  auto& texts = static_cast<TAbstractRow*>(context)->overflowTexts_;
  auto& kept = texts[static_cast<std::size_t>(argument)];
  if (action == TOverflowAction::oaStore)
    kept = text;
  else
    text = kept;
}

TOverflowCallback TAbstractRow::Overflow(int idx) const {
  return {&OverflowRoutine, const_cast<TAbstractRow*>(this), idx};
}

int TAbstractRow::IndexOfField(const TDataField* field) const {
  RequireElements(field != nullptr, "TAbstractRow.IndexOfField: Field <> nil");
  return dataTable_->IndexOfField(field);
}

int IndexOfField(const TAbstractRow* row, const TDataField* field) { return row ? row->IndexOfField(field) : -1; }

TValue TAbstractRow::GetFieldValue(const TDataField* field) const {
  RequireElements(field != nullptr, "TAbstractRow.GetFieldValue: Field <> nil");
  const int idx = dataTable_->IndexOfField(field);
  return idx >= 0 ? field->GetValue(*this, idx) : field->GetExternValue(*this);
}

std::string TAbstractRow::DisplayText() const {
  std::string text = "[";
  for (int i = 0; i < dataTable_->FieldCount(); ++i) {
    if (i > 0) text += "; ";
    const TDataField* field = dataTable_->GetField(i);
    if (field->DataType()) text += ValueAsString(field->GetValue(*this, i));
  }
  return text + "]";
}

TDataRow::TDataRow(const TDataTable* table) : TAbstractRow((RequireElements(table != nullptr, "TDataRow.Create: DataTable <> nil"), *table)) {
  const TDataRow& blank = table->BlankRow();
  std::copy(blank.Buffer(), blank.Buffer() + table->RowDataSize(), Buffer());
}

TDataRow::TDataRow(const TDataTable& table, TBlank) : TAbstractRow(table) {
  for (int i = 0; i < table.FieldCount(); ++i)
    if (const TDataType* type = table.GetField(i)->DataType())
      type->WriteToBuffer(Buffer() + table.FieldDataOffset(i), type->GetDefaultValue(), Overflow(i));
}

}  // namespace tv
