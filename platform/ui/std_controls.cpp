#include "platform/ui/std_controls.h"

#include "platform/rtl/sysutils.h"
#include "platform/ui/forms.h"

namespace tv {

namespace {

TPropertyInfo CaptionProperty() {
  return StringProperty("Caption", &TControl::Caption, &TControl::SetCaption);
}

// A window control that a person tabs to by default.
TPropertyInfo TabStopProperty() {
  return WithDefault(BooleanProperty("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop), 1);
}

}  // namespace

void TButtonControl::PublishOwn() {
  RegisterProperties(StaticClassInfo(), {TabStopProperty()});
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
}

// --- TButton

void TButton::PublishOwn() {
  using T = TButton;
  RegisterProperties(
      StaticClassInfo(),
      {CaptionProperty(), WithDefault(IntegerProperty("ModalResult", &T::ModalResult, &T::SetModalResult), 0),
       WithDefault(BooleanProperty("Default", &T::Default, &T::SetDefault), 0),
       WithDefault(BooleanProperty("Cancel", &T::Cancel, &T::SetCancel), 0),
       EventProperty("OnClick", &TControl::OnClick)});
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {}

void TButton::Click() {
  if (TCustomForm* form = ParentForm(); form != nullptr && modalResult_ != mrNone)
    form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

// --- TCustomCheckBox

void TCustomCheckBox::PublishOwn() {
  using T = TCustomCheckBox;
  RegisterProperties(
      StaticClassInfo(),
      {CaptionProperty(), WithDefault(BooleanProperty("Checked", &T::Checked, &T::SetChecked), 0),
       EventProperty("OnClick", &TControl::OnClick)});
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {}

void TCustomCheckBox::SetChecked(bool checked) {
  checked_ = checked;
  Changed();
}

void TCustomCheckBox::Click() {
  SetChecked(!checked_);
  TButtonControl::Click();
}

// --- TCustomLabel

void TCustomLabel::PublishOwn() {
  using T = TCustomLabel;
  RegisterProperties(
      StaticClassInfo(),
      {CaptionProperty(), ComponentProperty("FocusControl", &T::FocusControl, &T::SetFocusControl),
       WithDefault(BooleanProperty("WordWrap", &T::WordWrap, &T::SetWordWrap), 0),
       WithDefault(BooleanProperty("AutoSize", &T::AutoSize, &T::SetAutoSize), 1),
       EventProperty("OnClick", &TControl::OnClick)});
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  Listen();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) focusControl_ = nullptr;
}

// --- TCustomEdit

void TCustomEdit::PublishOwn() {
  using T = TCustomEdit;
  RegisterProperties(
      StaticClassInfo(),
      {StringProperty("Text", &TControl::Text, &TControl::SetText), TabStopProperty(),
       WithDefault(WithIdents(IntegerProperty("Color", &TControl::Color, &TControl::SetColor), ColorIdents()),
                   clWindow),
       WithDefault(BooleanProperty("ReadOnly", &T::ReadOnly, &T::SetReadOnly), 0)});
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
  SetColor(clWindow);
}

// --- TCustomMemo

void TCustomMemo::PublishOwn() {
  using T = TCustomMemo;
  TPropertyInfo lines = ObjectProperty("Lines", static_cast<const TStrings& (T::*)() const>(&T::Lines));
  RegisterProperties(StaticClassInfo(),
                     {NotStored(StringProperty("Text", &TControl::Text, &TControl::SetText)), lines,
                      WithDefault(EnumProperty("ScrollBars", &T::ScrollBars, &T::SetScrollBars), ssNone),
                      WithDefault(BooleanProperty("WordWrap", &T::WordWrap, &T::SetWordWrap), 1)});
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {}

std::string TCustomMemo::Text() const {
  std::string text;
  for (int i = 0; i < lines_.Count(); ++i) text.append(i == 0 ? "" : "\r\n").append(lines_.Get(i));
  return text;
}

void TCustomEdit::SetText(const std::string& text) {
  TWinControl::SetText(text.substr(0, text.find_first_of("\r\n")));
}

void TCustomMemo::SetText(const std::string& text) {
  lines_.SetText(text);
  Changed();
}

// --- accelerators

char AcceleratorOf(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') {
      return UpCase(caption[i + 1]);
    }
    ++i;  // "&&" is no marker
  }
  return 0;
}

std::string StripAccelerator(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && ++i == caption.size()) break;  // a lone "&" at the end shows nothing
    shown += caption[i];
  }
  return shown;
}

}  // namespace tv
