#include "platform/ui/backend.h"

#include <utility>

#include "platform/rtl/process_object.h"
#include "platform/ui/headless/headless_backend.h"
#ifdef _WIN32
#include "platform/ui/win32/win32_backend.h"
#endif

namespace tv {

namespace {

// Never destroyed at the end of the process: forms still alive then ask it
// to forget them.
constinit TProcessObject<TUiBackend> installed;

#ifdef _WIN32
// The forms as real windows, except while a test or a tool operates them
// headless (a modal driver, or the terminal's steps): then the headless
// backend runs their modal loops and file dialogs. Both hear of released
// and destroyed forms, whichever showed them.
class TScriptableBackend : public TUiBackend {
 public:
  TScriptableBackend() : system_(NewWin32Backend()), headless_(NewHeadlessBackend()) {}
  int ShowModal(TCustomForm& form) override { return Running().ShowModal(form); }
  bool ExecuteOpenDialog(TOpenDialog& dialog) override { return Running().ExecuteOpenDialog(dialog); }
  void PostRelease(TCustomForm& form) override { system_->PostRelease(form); }
  void ProcessMessages() override {
    system_->ProcessMessages();
    headless_->ProcessMessages();
  }
  void FormDestroyed(TCustomForm& form) override {
    system_->FormDestroyed(form);
    headless_->FormDestroyed(form);
  }
  void DestroyReleasedForms() override {
    system_->DestroyReleasedForms();
    headless_->DestroyReleasedForms();
  }
  int FrameWidth(const TCustomForm& form) const override { return system_->FrameWidth(form); }
  int FrameHeight(const TCustomForm& form) const override { return system_->FrameHeight(form); }
  void* WindowHandle(const TCustomForm& form) const override { return system_->WindowHandle(form); }
  bool LoadModuleIcon(const std::string& name, TBitmap& bitmap) const override {
    return system_->LoadModuleIcon(name, bitmap);
  }
  void ControlChanged(TControl& control) override { system_->ControlChanged(control); }

 private:
  TUiBackend& Running() { return HeadlessDriversActive() ? *headless_ : *system_; }
  std::unique_ptr<TUiBackend> system_, headless_;
};
#endif

std::unique_ptr<TUiBackend> NewSystemBackend() {
#ifdef _WIN32
  return std::make_unique<TScriptableBackend>();
#else
  return NewHeadlessBackend();
#endif
}

}  // namespace

TUiBackend& UiBackend() {
  return installed.Get(NewSystemBackend);
}

TUiBackend* InstalledUiBackend() {
  return installed.Find();
}

std::unique_ptr<TUiBackend> SetUiBackend(std::unique_ptr<TUiBackend> backend) {
  return installed.Exchange(std::move(backend));
}

void ShutdownUiBackend() {
  // The released forms first, while the backend they tell of it is there.
  if (TUiBackend* backend = installed.Find()) backend->DestroyReleasedForms();
  installed.Free();
}

void OrphanUiWindows() noexcept {
#ifdef _WIN32
  OrphanWin32Windows();
#endif
}

}  // namespace tv
