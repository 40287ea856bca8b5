#pragma once
// The backend without windows: controls keep all state; a form shown
// modally goes to the modal driver a test or a tool installed, and an
// open-file dialog to its file driver. Without drivers a modal form ends at
// once with mrCancel and a file dialog is cancelled.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/backend.h"

namespace tv {

// Operates the form as a person would, then returns; what it leaves as the
// form's modal result is the result (none: mrCancel).
using TModalDriver = std::function<void(TCustomForm& form)>;
// The chosen file's full path, or none for a cancel.
using TFileDialogDriver = std::function<std::optional<std::string>(TOpenDialog& dialog)>;

struct THeadlessDrivers {
  TModalDriver Modal;
  TFileDialogDriver Files;
};

std::unique_ptr<TUiBackend> NewHeadlessBackend();

// True while a test or tool operates forms (a modal driver is installed, or
// the terminal's steps): a backend with windows then leaves its forms
// and file dialogs to the headless one.
bool HeadlessDriversActive();

// Installs drivers for its lifetime; the ones before come back after it.
class TModalDriverScope {
 public:
  explicit TModalDriverScope(TModalDriver modal, TFileDialogDriver files = nullptr);
  ~TModalDriverScope();
  TModalDriverScope(const TModalDriverScope&) = delete;
  TModalDriverScope& operator=(const TModalDriverScope&) = delete;

 private:
  TModalDriver previousModal_;
  TFileDialogDriver previousFiles_;
};

}  // namespace tv
