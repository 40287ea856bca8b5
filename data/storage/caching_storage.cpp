#include "data/storage/caching_storage.h"

#include "data/elements/data_error.h"

namespace tv {

// --- caching storages

TCachingStorage::TCachingStorage(const TDataTable* dataTable, bool isVirtual)
    : TCustomRowStorage(dataTable, false, true), virtual_(isVirtual) {}

std::unique_ptr<TCachingStorage> TCachingStorage::Create(const TDataTable* dataTable) {
  RequireElements(dataTable != nullptr, "TCachingStorage.Create: DataTable <> nil");
  return std::unique_ptr<TCachingStorage>(new TCachingStorage(dataTable, false));
}

std::unique_ptr<TCachingStorage> TCachingStorage::CreateVirtual(const TDataTable* dataTable) {
  RequireElements(dataTable != nullptr, "TCachingStorage.CreateVirtual: DataTable <> nil");
  return std::unique_ptr<TCachingStorage>(new TCachingStorage(dataTable, true));
}

void TCachingStorage::Load() {
  if (virtual_)
    ReportDataError(desFatal, "Virtual AuxTable", "Tried to load Data from DB with virtual AuxTable");
  TDataBridge* bridge = DataTable().DataBridge();
  if (!bridge) throw Exception("DataBridge missing!");
  bridge->OpenReadConnection();
}

TPutResult TCachingStorage::PutCachedRow(std::unique_ptr<TDataRow>& row) {
  RequireElements(row != nullptr, "TCachingStorage.PutRow: Row <> nil");
  if (row->State() != rsExternControlled)
    ReportDataError(desWarning, "Internal",
                    "Trying to add a row to AuxTableCache that is already in the Storage!");
  TDataRow& placed = *row;
  const TPutResult result = PutIntoTree(row, paRefuse);
  if (result == prInserted) {
    placed.SetState(rsAccepted);
    Touch();
  }
  return result;
}

}  // namespace tv
