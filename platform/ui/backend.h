#pragma once
// What a backend does for the framework: run a form modally, answer an
// open-file dialog, and destroy released forms when messages are processed.
// The controls never ask which backend runs them.

#include <memory>
#include <string>

namespace tv {

class TBitmap;
class TControl;
class TCustomForm;
class TOpenDialog;

class TUiBackend {
 public:
  virtual ~TUiBackend() = default;
  // Runs until the form has a modal result or is closed; returns the result.
  virtual int ShowModal(TCustomForm& form) = 0;
  virtual bool ExecuteOpenDialog(TOpenDialog& dialog) = 0;
  // Destroys the form at the next processing of messages, not before.
  virtual void PostRelease(TCustomForm& form) = 0;
  virtual void ProcessMessages() = 0;
  // The form is going: forget it (a pending release, a window).
  virtual void FormDestroyed(TCustomForm& form) = 0;
  // The size a form's border and caption add to its client area.
  virtual int FrameWidth(const TCustomForm& form) const = 0;
  virtual int FrameHeight(const TCustomForm& form) const = 0;
  // The system's window of the form (for the shell), null without one.
  virtual void* WindowHandle(const TCustomForm&) const { return nullptr; }
  // An icon resource of the plug-in's own module, false when there is none.
  virtual bool LoadModuleIcon(const std::string&, TBitmap&) const { return false; }
  // A control's state changed (text, place, visibility, check, page, the
  // form's focus): a backend with windows shows it.
  virtual void ControlChanged(TControl&) {}
};

// The backend in use: the headless one until another is installed.
TUiBackend& UiBackend();
// Installs Backend and returns the one it replaces.
std::unique_ptr<TUiBackend> SetUiBackend(std::unique_ptr<TUiBackend> backend);

}  // namespace tv
