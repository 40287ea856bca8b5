#pragma once
// Rows gathered in a string list, as rules and lookups hand them on.

#include "data/elements/data_row.h"
#include "platform/rtl/lists.h"

namespace tv {

// A string list whose objects are rows.
class TDataRowList : public TStringList {
  TV_CLASS(TDataRowList, TStringList)
 public:
  TDataRow* GetDataRow(int idx) const;
  // Every entry's text becomes the display text of Field in its row.
  void UpdateStrings(const TDataField* field, bool flag = false);
};

}  // namespace tv
