#include "data/storage/row_source.h"

namespace tv {

// --- TRowSource

std::string TRowSource::Dump() {
  std::string text;
  for (TDataRow* row = First(); row; row = Next()) text.append(row->DisplayText()).append("\r\n");
  return text;
}

}  // namespace tv
