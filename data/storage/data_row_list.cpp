#include "data/storage/data_row_list.h"

#include "data/elements/data_error.h"

namespace tv {

// --- TDataRowList

TDataRow* TDataRowList::GetDataRow(int idx) const {
  RequireElements(idx >= 0 && idx < Count(),
                  "TDataRowList.GetDataRow: (idx >= 0) and (idx < Count), idx: ", idx);
  return static_cast<TDataRow*>(Objects(idx));
}

void TDataRowList::UpdateStrings(const TDataField* field, bool) {
  for (int i = 0; i < Count(); ++i) Put(i, GetDataRow(i)->GetFStringValue(field));
}

}  // namespace tv
