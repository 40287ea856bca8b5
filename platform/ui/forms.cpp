#include "platform/ui/forms.h"

#include <map>
#include <mutex>
#include <vector>

#include "platform/components/component_stream.h"
#include "platform/components/text_form.h"
#include "platform/rtl/process_object.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/backend.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/std_controls.h"

namespace tv {

// --- TCustomForm

void TCustomForm::PublishOwn() {
  using T = TCustomForm;
  TPropertyInfo font =
      ObjectProperty("Font", static_cast<const TFont& (TControl::*)() const>(&TControl::Font));
  // The client size is what a form stores; the border adds the rest.
  RegisterProperties(
      StaticClassInfo(),
      {NotStored(IntegerProperty("Width", &T::Width, &T::SetWidth)),
       NotStored(IntegerProperty("Height", &T::Height, &T::SetHeight)),
       NotStored(BooleanProperty("Visible", &T::Visible, &T::SetVisible)),
       NotStored(IntegerProperty("TabOrder", &T::TabOrder, &T::SetTabOrder)),
       StringProperty("Caption", &T::Caption, &T::SetCaption),
       WithDefault(EnumProperty("BorderStyle", &T::BorderStyle, &T::SetBorderStyle), bsSizeable),
       WithDefault(EnumProperty("Position", &T::Position, &T::SetPosition), poDesigned),
       IntegerProperty("ClientWidth", &T::ClientWidth, &T::SetClientWidth),
       IntegerProperty("ClientHeight", &T::ClientHeight, &T::SetClientHeight), font,
       NotStored(BooleanProperty("ParentFont", &T::ParentFont, &T::SetParentFont)),
       ComponentProperty("ActiveControl", &T::ActiveControl, &T::SetActiveControl),
       EventProperty("OnCreate", &T::OnCreate)});
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
  SetVisible(false);
}

TCustomForm::~TCustomForm() {
  if (TUiBackend* backend = InstalledUiBackend()) backend->FormDestroyed(*this);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
  borderStyle_ = style;
  UpdateSize();
}

void TCustomForm::SetClientWidth(int width) {
  clientWidth_ = width;
  UpdateSize();
}

void TCustomForm::SetClientHeight(int height) {
  clientHeight_ = height;
  UpdateSize();
}

// The outer size follows the client area and the border around it.
void TCustomForm::UpdateSize() {
  TScrollingWinControl::SetBounds(Left(), Top(), clientWidth_ + UiBackend().FrameWidth(*this),
                                  clientHeight_ + UiBackend().FrameHeight(*this));
  AlignControls();
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
  clientWidth_ = width - UiBackend().FrameWidth(*this);
  clientHeight_ = height - UiBackend().FrameHeight(*this);
  TScrollingWinControl::SetBounds(left, top, width, height);
}

TControl::TPoint TCustomForm::ClientToScreen(TPoint point) const {
  const int border = UiBackend().FrameWidth(*this) / 2;
  return {Left() + border + point.X, Top() + UiBackend().FrameHeight(*this) - border + point.Y};
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  activeControl_ = control;
  Changed();  // a backend with windows moves the focus
}

void TCustomForm::ControlRemoved(TControl* control) {
  if (control == activeControl_) activeControl_ = nullptr;
}

void TCustomForm::ApplyPosition() {
  const TCustomForm* anchor = nullptr;
  switch (position_) {
    case poOwnerFormCenter: anchor = dynamic_cast<const TCustomForm*>(Owner()); [[fallthrough]];
    case poMainFormCenter:
      if (anchor == nullptr) anchor = Application().MainForm();
      [[fallthrough]];
    case poScreenCenter:
    case poDesktopCenter: break;
    default: return;  // where it was designed, or where the system puts windows
  }
  const sys::TRect area = anchor != nullptr && anchor != this
                              ? sys::TRect{anchor->Left(), anchor->Top(), anchor->Left() + anchor->Width(),
                                           anchor->Top() + anchor->Height()}
                              : sys::ScreenRect();
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(),
            Height());
}

int TCustomForm::ShowModal() {
  if (modal_) throw EInvalidOperation("Cannot make a visible window modal");
  ApplyPosition();
  modalResult_ = mrNone;
  modal_ = true;
  SetVisible(true);
  int result = mrCancel;
  try {
    result = UiBackend().ShowModal(*this);
  } catch (...) {
    modal_ = false;
    SetVisible(false);
    throw;
  }
  modal_ = false;
  SetVisible(false);
  modalResult_ = result;
  return result;
}

namespace {

// Every control on the form, parents before their children.
void CollectControls(const TWinControl& parent, std::vector<TControl*>& out) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    out.push_back(control);
    if (auto* window = ClassCast<TWinControl>(control)) CollectControls(*window, out);
  }
}

// The first reachable button that Wanted picks.
TButton* FindButton(const TCustomForm& form, bool (TButton::*wanted)() const) {
  std::vector<TControl*> controls;
  CollectControls(form, controls);
  for (TControl* control : controls)
    if (auto* button = ClassCast<TButton>(control);
        button != nullptr && (button->*wanted)() && button->Reachable())
      return button;
  return nullptr;
}

}  // namespace

bool TCustomForm::PressEnter() {
  TButton* button = FindButton(*this, &TButton::Default);
  if (button != nullptr) button->Click();
  return button != nullptr;
}

void TCustomForm::PressEscape() {
  if (TButton* button = FindButton(*this, &TButton::Cancel))
    button->Click();
  else
    Close();
}

bool TCustomForm::DialogChar(char letter) {
  letter = UpCase(letter);
  std::vector<TControl*> controls;
  CollectControls(*this, controls);
  for (TControl* control : controls) {
    auto* sheet = ClassCast<TTabSheet>(control);
    const bool reachable = sheet != nullptr ? sheet->PageControl()->Reachable() : control->Reachable();
    if (AcceleratorOf(control->Caption()) != letter || !reachable) continue;
    if (auto* label = ClassCast<TCustomLabel>(control)) {
      if (label->FocusControl() != nullptr && label->FocusControl()->CanFocus())
        label->FocusControl()->SetFocus();
    } else if (sheet != nullptr) {
      sheet->PageControl()->SetActivePage(sheet);
    } else if (auto* button = ClassCast<TButtonControl>(control)) {
      if (button->TabStop()) button->SetFocus();
      button->Click();
    }
    return true;
  }
  return false;
}

void TCustomForm::SetModalResult(int result) {
  modalResult_ = result;
  if (modal_ && result != mrNone && !CloseQuery()) modalResult_ = mrNone;
}

void TCustomForm::Close() {
  if (modal_)
    SetModalResult(mrCancel);
  else
    SetVisible(false);
}

void TCustomForm::Release() {
  UiBackend().PostRelease(*this);
}

void TCustomForm::Loaded() {
  TScrollingWinControl::Loaded();
  AlignControls();
}

void TCustomForm::ReadStoredForm() {
  RegisterControlClasses();
  // The class's handlers and fields, which the stored form binds; the
  // classes it names and the description itself the program has entered.
  Publish(ClassInfo());
  try {
    TReader::ReadRoot(FormStream(ClassName()), *this);
  } catch (const Exception& e) {
    throw EReadError("Form " + ClassName() + ": " + e.Message());
  }
  if (OnCreate) OnCreate(this);
}

// --- form resources

namespace {

// The text as registered, and its binary stream once a form was made of it.
struct TFormResource {
  std::string Text;
  std::string Stream;
};

// Registered and converted as dialogs are first made, from any thread: every
// access holds the lock. A registered text is replaced only by another
// registration of the same class, which the program makes once.
std::mutex& FormResourcesLock() {
  static std::mutex lock;
  return lock;
}

std::map<std::string, TFormResource>& FormResources() {
  static std::map<std::string, TFormResource> resources;
  return resources;
}

}  // namespace

void RegisterFormResource(const std::string& className, std::string text) {
  const std::lock_guard<std::mutex> hold(FormResourcesLock());
  TFormResource& resource = FormResources()[className];
  if (resource.Text == text) return;  // registered again: the stream still holds
  resource = {std::move(text), {}};
}

const std::string* FindFormResource(const std::string& className) {
  const std::lock_guard<std::mutex> hold(FormResourcesLock());
  auto found = FormResources().find(className);
  return found == FormResources().end() ? nullptr : &found->second.Text;
}

// Converted on first use and kept: a dialog opened again reads the stream
// without parsing its text again.
const std::string& FormStream(const std::string& className) {
  const std::lock_guard<std::mutex> hold(FormResourcesLock());
  auto found = FormResources().find(className);
  if (found == FormResources().end()) throw EResNotFound("Resource " + className + " not found");
  if (found->second.Stream.empty()) found->second.Stream = ObjectTextToBinary(found->second.Text);
  return found->second.Stream;
}

// --- TApplication

void TApplication::ProcessMessages() {
  UiBackend().ProcessMessages();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

// Not destroyed at the end of the process: forms it owns must not go while
// the process is torn down, after the backend that shows them.
namespace {
constinit TProcessObject<TApplication> application;
}  // namespace

TApplication& Application() {
  return application.Get([] { return std::make_unique<TApplication>(nullptr); });
}

void ShutdownApplication() {
  application.Free();
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

}  // namespace tv
