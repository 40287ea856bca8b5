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
  // Destroys the forms waiting for release now, without processing any
  // other message.
  virtual void DestroyReleasedForms() = 0;
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

// The backend in use, made on first use: real windows where the system has
// them, else the headless one.
TUiBackend& UiBackend();
// The backend if one exists, for those who only tell it that they go.
TUiBackend* InstalledUiBackend();
// Installs Backend and returns the one it replaces (null if none was made).
std::unique_ptr<TUiBackend> SetUiBackend(std::unique_ptr<TUiBackend> backend);
// For a library being unloaded: destroys the forms waiting for release, then
// the backend with what it made (windows, window classes). The next use
// makes a new one.
void ShutdownUiBackend();
// For a library unloaded without shutdown, under the loader lock: its
// windows that outlive it are handed to the system's code. Frees nothing.
void OrphanUiWindows() noexcept;

}  // namespace tv
