#include "platform/components/class_registry.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"

namespace tv {

void RegisterControlClasses() {
  static const bool registered = [] {
    RegisterComponentClass<TButton>();
    RegisterComponentClass<TCheckBox>();
    RegisterComponentClass<TLabel>();
    RegisterComponentClass<TEdit>();
    RegisterComponentClass<TMemo>();
    RegisterComponentClass<TPanel>();
    RegisterComponentClass<TBevel>();
    RegisterComponentClass<TImage>();
    RegisterComponentClass<TPageControl>();
    RegisterComponentClass<TTabSheet>();
    RegisterComponentClass<TOpenDialog>();
    RegisterComponentClass<TForm>();
    return true;
  }();
  (void)registered;
}

}  // namespace tv
