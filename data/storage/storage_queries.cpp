#include <algorithm>

#include "data/elements/data_error.h"
#include "data/storage/abstract_row_storage.h"
#include "data/types/data_types.h"

namespace tv {

// --- finding rows

std::vector<TDataRow*> TAbstractRowStorage::Rows(const TCondition* criteria) {
  const TCriteria none;
  const TCondition& condition = criteria ? *criteria : static_cast<const TCondition&>(none);
  TGetRowsHandler handler(condition, KeyLevels() - 1);
  BeforeQuery();
  condition.Traverse(handler, *root_);
  return handler.Rows();
}

void TAbstractRowStorage::GetRows(TStrings* results, const TCondition* criteria, bool) {
  RequireElements(results != nullptr, "TAbstractRowStorage.GetRows: Results <> nil");
  for (TDataRow* row : Rows(criteria)) results->AddObject("", row);
}

namespace {
void CollectTreeRows(const TSubTotalRow& node, std::vector<TDataRow*>& rows) {
  for (int i = 0; i < node.ChildCount(); ++i) {
    TAbstractRow* child = node.Child(i);
    if (const auto* inner = ClassCast<TSubTotalRow>(child))
      CollectTreeRows(*inner, rows);
    else if (auto* row = ClassCast<TDataRow>(child))
      rows.push_back(row);
  }
}
}  // namespace

std::vector<TDataRow*> TAbstractRowStorage::TreeRows() const {
  std::vector<TDataRow*> rows;
  CollectTreeRows(*root_, rows);
  return rows;
}

int TAbstractRowStorage::CountRows(const TCondition* criteria) {
  const TCriteria none;
  const TCondition& condition = criteria ? *criteria : static_cast<const TCondition&>(none);
  TGetRowsHandler handler(condition, KeyLevels() - 1, true);
  BeforeQuery();
  condition.Traverse(handler, *root_);
  return handler.Count();
}

void TAbstractRowStorage::GetRowsByText(TStrings* results, const TCriteria* criteria, const std::string& text,
                                        const TDataField* field, bool flag) {
  std::unique_ptr<TCriteria> condition = TCriteria::CreateCopy(criteria);
  TCriteriaField* term = condition->FindCriteriaField(field, true);
  const auto* type = dynamic_cast<const TStringType*>(field->DataType());
  if (type && (type->Size() <= 0 || static_cast<int>(text.size()) < type->Size())) {
    // Texts that begin with Text lie between it and it followed by the
    // highest character.
    std::string upper = text;
    upper.append(
        static_cast<std::size_t>(type->Size() > 0 ? type->Size() - static_cast<int>(text.size()) : 1),
        '\xFF');
    term->AddInterval(StringValue(text), StringValue(upper));
  } else {
    term->AddValue(text);
  }
  GetRows(results, condition.get(), flag);
}

TDataRow* TAbstractRowStorage::FindRow(const TCondition* criteria, bool takeFirst) {
  const std::vector<TDataRow*> results = Rows(criteria);
  if (results.empty()) return nullptr;
  if (results.size() > 1 && !takeFirst) throw Exception("More than one match!");
  return results.front();
}

TDataRow* TAbstractRowStorage::LocateRow(const std::vector<std::string>& values) {
  if (static_cast<int>(values.size()) < KeyLevels()) {
    ReportDataError(desWarning, "LocateRow", "LocateRow: Too few elements in array!");
    return nullptr;
  }
  BeforeLookup();
  TSubTotalRow* node = root_.get();
  for (int level = 0; level < KeyLevels(); ++level) {
    // The node converts the text to its key type.
    const int child = node->FindChild(StringValue(values[static_cast<std::size_t>(level)]));
    if (child < 0) return nullptr;
    TAbstractRow* found = node->Child(child);
    if (level == KeyLevels() - 1) return static_cast<TDataRow*>(found);
    node = static_cast<TSubTotalRow*>(found);
  }
  return nullptr;
}

TDataRow* TAbstractRowStorage::FirstDataRow() {
  for (int i = 0; i < RowCount(); ++i)
    if (TDataRow* row = GetDataRow(i)) return row;
  return nullptr;
}

}  // namespace tv
