#pragma once
// Forms, the application object and the screen.

#include <memory>
#include <string>
#include <vector>

#include "platform/system/desktop.h"
#include "platform/ui/controls.h"

namespace tv {

// Modal results, as buttons carry them.
enum : int {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7
};

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using enum TFormBorderStyle;
inline constexpr auto kFormBorderStyleNames =
    EnumNameArray("bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin");
static_assert(kFormBorderStyleNames.size() == 1 + static_cast<std::size_t>(TFormBorderStyle::bsSizeToolWin));
constexpr TEnumNames EnumNames(TFormBorderStyle) {
  return kFormBorderStyleNames;
}
enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
using enum TPosition;
inline constexpr auto kPositionNames =
    EnumNameArray("poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                  "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter");
static_assert(kPositionNames.size() == 1 + static_cast<std::size_t>(TPosition::poOwnerFormCenter));
constexpr TEnumNames EnumNames(TPosition) {
  return kPositionNames;
}

class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

class EResNotFound : public Exception {
 public:
  using Exception::Exception;
};

class TScrollingWinControl : public TWinControl {
  TV_CLASS(TScrollingWinControl, TWinControl)
 public:
  using TWinControl::TWinControl;
};

class TCustomForm : public TScrollingWinControl {
  TV_PUBLISHED_CLASS(TCustomForm, TScrollingWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle style);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition position) { position_ = position; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientWidth(int width);
  void SetClientHeight(int height);
  void SetBounds(int left, int top, int width, int height) override;
  // The client area lies inside the border, below the caption.
  TPoint ClientToScreen(TPoint point) const override;

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);

  int ModalResult() const { return modalResult_; }
  // A modal form given a result is asked whether it may close; when it
  // refuses, it stays open with none.
  void SetModalResult(int result);
  // Whether the form may close with its modal result now: a form that saves
  // on Ok refuses when the save fails, and shows why.
  virtual bool CloseQuery() { return true; }
  bool Modal() const { return modal_; }
  // Shows the form until it has a modal result; returns that result.
  int ShowModal();
  // Ends a modal run with mrCancel, or hides the form.
  void Close();
  // The keys a dialog answers, whoever delivers them: Enter clicks the
  // default button; Escape the cancel button, or closes the form; Alt +
  // Letter clicks the button or check box of that accelerator, focuses a
  // label's focus control, or shows a page. False when no control took it.
  bool PressEnter();
  void PressEscape();
  bool DialogChar(char letter);
  // The form is destroyed at the next processing of messages, not before.
  void Release();

  // A handler of the form's class, run once the stored form is read. (There
  // is no handler for the form's end: by the time a form's destructor runs,
  // the class whose method it would be is gone.)
  TNotifyEvent OnCreate;

  void Loaded() override;
  // A control left the form: it is no longer the active one.
  void ControlRemoved(TControl* control);

 protected:
  // Reads the form's stored description, named after its class, into the
  // form, then runs OnCreate. CreateForm calls it once the object is whole.
  void ReadStoredForm();
  sys::TRect AlignArea() const override { return {0, 0, clientWidth_, clientHeight_}; }

  template <class TFormClass>
  friend TFormClass* CreateForm(TComponent& owner);
  template <class TFormClass>
  friend std::unique_ptr<TFormClass> CreateForm();

 private:
  void UpdateSize();
  // Centres the form as its Position asks, when it is shown.
  void ApplyPosition();
  TFormBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  int clientWidth_ = 0, clientHeight_ = 0;
  TWinControl* activeControl_ = nullptr;
  int modalResult_ = mrNone;
  bool modal_ = false;
};

class TForm : public TCustomForm {
  TV_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

// A form of class TFormClass read from its stored description, owned by
// Owner. A form that fails to read is freed and the error names the form.
template <class TFormClass>
TFormClass* CreateForm(TComponent& owner) {
  auto form = std::make_unique<TFormClass>(&owner);
  form->ReadStoredForm();
  return form.release();
}
// The same form without an owner: the caller's.
template <class TFormClass>
std::unique_ptr<TFormClass> CreateForm() {
  auto form = std::make_unique<TFormClass>(nullptr);
  form->ReadStoredForm();
  return form;
}

// A form freed through Release when its holder ends: after the messages
// already queued for its windows, whatever way its holder ends.
struct TReleaseForm {
  void operator()(TCustomForm* form) const { form->Release(); }
};
template <class TFormClass>
using TReleasedForm = std::unique_ptr<TFormClass, TReleaseForm>;

// The stored descriptions of form classes, in the text form format.
void RegisterFormResource(const std::string& className, std::string text);
const std::string* FindFormResource(const std::string& className);
// The form's binary stream; EResNotFound "Resource <class> not found"
// without a form, the parser's error for text that is no form.
const std::string& FormStream(const std::string& className);

class TApplication : public TComponent {
  TV_CLASS(TApplication, TComponent)
 public:
  using TComponent::TComponent;
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }
  // Destroys released forms and does what else the backend has pending.
  void ProcessMessages();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomForm* mainForm_ = nullptr;
};

// The process's application object, made on first use; it owns the forms
// created with it.
TApplication& Application();
// For a library being unloaded: frees it with the forms it owns.
void ShutdownApplication();

class TScreen {
 public:
  sys::TRect WorkAreaRect() const { return sys::WorkArea(); }
  int Width() const { return sys::ScreenRect().Width(); }
  int Height() const { return sys::ScreenRect().Height(); }
};

TScreen& Screen();

}  // namespace tv
