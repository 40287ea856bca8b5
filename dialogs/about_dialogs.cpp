#include "dialogs/about_dialogs.h"

#include "dialogs/options_dialog.h"
#include "dialogs/placement.h"
#include "dialogs/project_info.h"
#include "dialogs/stored_forms.h"
#include "platform/components/class_registry.h"
#include "platform/components/published.h"
#include "platform/system/shell.h"
#include "platform/ui/backend.h"

namespace tv {

namespace {

void OpenAddress(const TCustomForm& dialog, const std::string& address) {
  sys::ShellOpen({UiBackend().WindowHandle(dialog), "open", address, "", "", sys::kShowNormal});
}

}  // namespace

TwTevrinAboutBase::TwTevrinAboutBase(TComponent* owner) : TForm(owner) {
  static const bool registered = [] {
    using T = TwTevrinAboutBase;
    InitializeTranslatorLibrary();
    RegisterStoredForms();
    RegisterMethods(StaticClassInfo(),
                    {Method("FormCreate", &T::FormCreate), Method("txEMailClick", &T::txEMailClick),
                     Method("txUrlClick", &T::txUrlClick)});
    RegisterFields(
        StaticClassInfo(),
        {Field("Translator", &T::Translator), Field("imLogo", &T::imLogo), Field("txVersion", &T::txVersion),
         Field("txCopyright", &T::txCopyright), Field("txFreeware", &T::txFreeware),
         Field("txEMail", &T::txEMail), Field("txUrl", &T::txUrl), Field("btOk", &T::btOk)});
    return true;
  }();
  (void)registered;
}

void TwTevrinAboutBase::FormCreate(TObject*) {
  PlaceNearOwner(*this);
}

void TwTevrinAboutBase::txEMailClick(TObject*) {
  OpenAddress(*this, "mailto:" + txEMail->Caption());
}

void TwTevrinAboutBase::txUrlClick(TObject*) {
  OpenAddress(*this, "http://" + txUrl->Caption());
}

TwTevrinAbout::TwTevrinAbout(TComponent* owner) : TwTevrinAboutBase(owner) {
  static const bool registered = [] {
    RegisterFields(StaticClassInfo(), {Field("imAppIcon", &TwTevrinAbout::imAppIcon)});
    return true;
  }();
  (void)registered;
}

void TwTevrinAbout::FormCreate(TObject* sender) {
  TwTevrinAboutBase::FormCreate(sender);
  TBitmap icon;
  if (UiBackend().LoadModuleIcon("MAINICON", icon)) imAppIcon->Picture().Assign(&icon);
}

TwTevrinAboutV2::TwTevrinAboutV2(TComponent* owner) : TwTevrinAboutBase(owner) {
  static const bool registered = [] {
    RegisterFields(StaticClassInfo(), {Field("imIcon", &TwTevrinAboutV2::imIcon)});
    return true;
  }();
  (void)registered;
}

void RegisterDialogClasses() {
  RegisterStoredForms();
  RegisterComponentClass<TwTevrinAbout>();
  RegisterComponentClass<TwTevrinAboutV2>();
  RegisterComponentClass<TwTevrinBAVOptions>();
  RegisterComponentClass<TTvProjectInfo>();
}

}  // namespace tv
