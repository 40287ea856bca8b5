#include "dialogs/about_dialogs.h"

#include "dialogs/placement.h"
#include "platform/components/published.h"
#include "platform/system/shell.h"
#include "platform/ui/backend.h"

namespace tv {

namespace {

void OpenAddress(const TCustomForm& dialog, const std::string& address) {
  sys::ShellOpen({UiBackend().WindowHandle(dialog), "open", address, "", "", sys::kShowNormal});
}

}  // namespace

void TwTevrinAboutBase::PublishOwn() {
  RegisterMethods(StaticClassInfo(), {TV_METHOD(FormCreate), TV_METHOD(txEMailClick), TV_METHOD(txUrlClick)});
  RegisterFields(StaticClassInfo(),
                 {TV_FIELD(Translator), TV_FIELD(imLogo), TV_FIELD(txVersion), TV_FIELD(txCopyright),
                  TV_FIELD(txFreeware), TV_FIELD(txEMail), TV_FIELD(txUrl), TV_FIELD(btOk)});
}

TwTevrinAboutBase::TwTevrinAboutBase(TComponent* owner) : TForm(owner) {}

void TwTevrinAboutBase::FormCreate(TObject*) {
  PlaceNearOwner(*this);
}

void TwTevrinAboutBase::txEMailClick(TObject*) {
  OpenAddress(*this, "mailto:" + txEMail->Caption());
}

void TwTevrinAboutBase::txUrlClick(TObject*) {
  OpenAddress(*this, "http://" + txUrl->Caption());
}

void TwTevrinAbout::PublishOwn() {
  RegisterFields(StaticClassInfo(), {TV_FIELD(imAppIcon)});
}

TwTevrinAbout::TwTevrinAbout(TComponent* owner) : TwTevrinAboutBase(owner) {}

void TwTevrinAbout::FormCreate(TObject* sender) {
  TwTevrinAboutBase::FormCreate(sender);
  TBitmap icon;
  if (UiBackend().LoadModuleIcon("MAINICON", icon)) imAppIcon->Picture().Assign(&icon);
}

void TwTevrinAboutV2::PublishOwn() {
  RegisterFields(StaticClassInfo(), {TV_FIELD(imIcon)});
}

TwTevrinAboutV2::TwTevrinAboutV2(TComponent* owner) : TwTevrinAboutBase(owner) {}

}  // namespace tv
