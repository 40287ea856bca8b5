#include "platform/ui/dialogs.h"

#include "platform/components/properties.h"
#include "platform/ui/backend.h"

namespace tv {

void TOpenDialog::PublishOwn() {
  using T = TOpenDialog;
  RegisterProperties(StaticClassInfo(),
                     {StringProperty("DefaultExt", &T::DefaultExt, &T::SetDefaultExt),
                      StringProperty("FileName", &T::FileName, &T::SetFileName),
                      StringProperty("Filter", &T::Filter, &T::SetFilter),
                      WithDefault(IntegerProperty("FilterIndex", &T::FilterIndex, &T::SetFilterIndex), 1),
                      StringProperty("InitialDir", &T::InitialDir, &T::SetInitialDir),
                      StringProperty("Title", &T::Title, &T::SetTitle)});
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

bool TOpenDialog::Execute() {
  return UiBackend().ExecuteOpenDialog(*this);
}

}  // namespace tv
