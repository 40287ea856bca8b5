#include "platform/ui/dialogs.h"

#include "platform/components/properties.h"
#include "platform/ui/backend.h"

namespace tv {

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner) {
  static const bool registered = [] {
    using T = TOpenDialog;
    RegisterProperties(StaticClassInfo(),
                       {StringProperty("DefaultExt", &T::DefaultExt, &T::SetDefaultExt),
                        StringProperty("FileName", &T::FileName, &T::SetFileName),
                        StringProperty("Filter", &T::Filter, &T::SetFilter),
                        WithDefault(IntegerProperty("FilterIndex", &T::FilterIndex, &T::SetFilterIndex), 1),
                        StringProperty("InitialDir", &T::InitialDir, &T::SetInitialDir),
                        StringProperty("Title", &T::Title, &T::SetTitle)});
    return true;
  }();
  (void)registered;
}

bool TOpenDialog::Execute() {
  return UiBackend().ExecuteOpenDialog(*this);
}

}  // namespace tv
