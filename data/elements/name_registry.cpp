#include "data/elements/name_registry.h"

#include "data/elements/data_error.h"
#include "data/types/data_types.h"
#include "platform/rtl/thread_confinement.h"

namespace tv {

TNameRegistry::TNameRegistry(std::string kind)
    : kind_(std::move(kind)), names_(std::make_unique<TValueList>(AnyStringType())) {
  names_->SetSorted(true);
  names_->SetDuplicates(TDuplicates::dupError);
}

void TNameRegistry::Remove(const std::string& oldName, const TObject* object) {
  int index = -1;
  if (!oldName.empty() && names_->Find(StringValue(oldName), index) && names_->Objects(index) == object) {
    names_->Delete(index);
    return;
  }
  index = names_->IndexOfObject(object);
  if (index >= 0) names_->Delete(index);
}

void TNameRegistry::Enter(const std::string& name, TObject* object) {
  try {
    names_->AddValueObject(name, StringValue(name), object);
  } catch (const EStringListError&) {
    ReportDataError(desWarning, "Duplicates",
                    std::string("Duplicate ").append(kind_).append(": ").append(name));
  }
}

TObject* TNameRegistry::Find(const std::string& name) const {
  int index = -1;
  return names_->Find(StringValue(name), index) ? names_->Objects(index) : nullptr;
}

namespace {
// Fields and tables may live in static objects that go after the registries
// at process end; they then find no registry to leave.
bool fieldRegistryGone = false;
bool tableRegistryGone = false;

struct TRegistryHolder {
  TNameRegistry registry;
  bool& gone;
  TRegistryHolder(const char* kind, bool& goneFlag) : registry(kind), gone(goneFlag) {}
  ~TRegistryHolder() { gone = true; }
};
}  // namespace

// Named fields and tables are made by the translator on the thread of the
// dialogs (and by single-threaded tools): not guarded, checked in debug
// builds.
namespace {
TThreadConfinement& NamesThread() {
  static TThreadConfinement confinement("The registry of field and table names");
  return confinement;
}
}  // namespace

TNameRegistry* FieldRegistry() {
  NamesThread().Check();
  if (fieldRegistryGone) return nullptr;
  static TRegistryHolder holder("fields", fieldRegistryGone);
  return &holder.registry;
}

TNameRegistry* TableRegistry() {
  NamesThread().Check();
  if (tableRegistryGone) return nullptr;
  static TRegistryHolder holder("tables", tableRegistryGone);
  return &holder.registry;
}

}  // namespace tv
