#include "platform/ui/headless/headless_backend.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/headless_script.h"

namespace tv {

namespace {

// Until a test or tool installs its own, the steps of the program's
// terminal (a tool operating a plug-in's dialog), if it offers any.
// Installed on one thread and asked for on any (a check's thread asks whether forms are
// operated): every access holds the lock, and drivers are copied out.
std::mutex& DriversLock() {
  static std::mutex lock;
  return lock;
}

THeadlessDrivers& Drivers() {
  static THeadlessDrivers drivers = HostTerminalDrivers().value_or(THeadlessDrivers{});
  return drivers;
}

THeadlessDrivers CurrentDrivers() {
  const std::lock_guard<std::mutex> hold(DriversLock());
  return Drivers();
}

struct TReleaseAtEnd {
  ~TReleaseAtEnd() {
    if (TUiBackend* backend = InstalledUiBackend()) backend->DestroyReleasedForms();
  }
};

class THeadlessBackend : public TUiBackend {
 public:
  int ShowModal(TCustomForm& form) override {
    // A copy: the driver may install others for the dialogs it opens.
    const TModalDriver driver = CurrentDrivers().Modal;
    if (!driver) return mrCancel;
    driver(form);
    return form.ModalResult() != mrNone ? form.ModalResult() : mrCancel;
  }

  bool ExecuteOpenDialog(TOpenDialog& dialog) override {
    const TFileDialogDriver driver = CurrentDrivers().Files;
    if (!driver) return false;
    std::optional<std::string> chosen = driver(dialog);
    if (!chosen) return false;
    dialog.SetFileName(*chosen);
    return true;
  }

  void PostRelease(TCustomForm& form) override {
    // A host without a message loop (any POSIX host) never processes the
    // release: the end of the process, or of the library, is the last
    // chance. Made after the statics a form uses, this goes before them.
    static const TReleaseAtEnd atEnd;
    if (std::find(released_.begin(), released_.end(), &form) == released_.end()) released_.push_back(&form);
  }

  void ProcessMessages() override { DestroyReleasedForms(); }

  void DestroyReleasedForms() override {
    // A form destroyed here may release others: take them in turns.
    while (!released_.empty()) {
      TCustomForm* form = released_.front();
      released_.erase(released_.begin());
      delete form;
    }
  }

  void FormDestroyed(TCustomForm& form) override {
    released_.erase(std::remove(released_.begin(), released_.end(), &form), released_.end());
  }

  // The classic window metrics: a 3 pixel frame (4 when sizeable) and a
  // 19 pixel caption (15 for tool windows).
  int FrameWidth(const TCustomForm& form) const override { return 2 * Border(form); }
  int FrameHeight(const TCustomForm& form) const override {
    if (form.BorderStyle() == bsNone) return 0;
    const bool tool = form.BorderStyle() == bsToolWindow || form.BorderStyle() == bsSizeToolWin;
    return 2 * Border(form) + (tool ? 15 : 19);
  }

 private:
  static int Border(const TCustomForm& form) {
    switch (form.BorderStyle()) {
      case bsNone: return 0;
      case bsSizeable:
      case bsSizeToolWin: return 4;
      default: return 3;
    }
  }
  std::vector<TCustomForm*> released_;
};

}  // namespace

bool HeadlessDriversActive() {
  const std::lock_guard<std::mutex> hold(DriversLock());
  return static_cast<bool>(Drivers().Modal);
}

std::unique_ptr<TUiBackend> NewHeadlessBackend() {
  return std::make_unique<THeadlessBackend>();
}

TModalDriverScope::TModalDriverScope(TModalDriver modal, TFileDialogDriver files) {
  const std::lock_guard<std::mutex> hold(DriversLock());
  previousModal_ = std::exchange(Drivers().Modal, std::move(modal));
  previousFiles_ = std::exchange(Drivers().Files, std::move(files));
}

TModalDriverScope::~TModalDriverScope() {
  const std::lock_guard<std::mutex> hold(DriversLock());
  Drivers().Modal = std::move(previousModal_);
  Drivers().Files = std::move(previousFiles_);
}

}  // namespace tv
