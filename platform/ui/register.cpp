#include <mutex>

#include "platform/components/class_registry.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"

namespace tv {

void RegisterControlClasses() {
  static std::once_flag registered;
  std::call_once(registered, [] {
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
  });
}

}  // namespace tv
