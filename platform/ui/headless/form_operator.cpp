#include "platform/ui/headless/form_operator.h"

#include "platform/ui/ext_controls.h"
#include "platform/ui/std_controls.h"

namespace tv {

namespace {

[[noreturn]] void Refuse(const TCustomForm& form, const std::string& what) {
  throw EInvalidOperation(form.Name() + ": " + what);
}

// Every control on the form, parents before their children.
void CollectControls(const TWinControl& parent, std::vector<TControl*>& out) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    out.push_back(control);
    if (auto* window = dynamic_cast<TWinControl*>(control)) CollectControls(*window, out);
  }
}

}  // namespace

TControl& TFormOperator::Control(const std::string& name) const {
  auto* control = dynamic_cast<TControl*>(form_.FindComponent(name));
  if (control == nullptr) Refuse(form_, "there is no control " + name);
  return *control;
}

TControl& TFormOperator::Reachable(const std::string& name) const {
  TControl& control = Control(name);
  if (!control.Reachable()) Refuse(form_, name + " cannot be reached: it is hidden or disabled");
  return control;
}

void TFormOperator::Click(const std::string& name) {
  TControl& control = Reachable(name);
  if (auto* window = dynamic_cast<TWinControl*>(&control); window != nullptr && window->TabStop())
    window->SetFocus();
  control.Click();
}

void TFormOperator::Type(const std::string& name, const std::string& text) {
  auto* edit = dynamic_cast<TCustomEdit*>(&Reachable(name));
  if (edit == nullptr) Refuse(form_, name + " takes no typing");
  if (edit->ReadOnly()) Refuse(form_, name + " is read-only");
  edit->SetFocus();
  edit->SetText(text);
}

void TFormOperator::SetChecked(const std::string& name, bool checked) {
  auto* box = dynamic_cast<TCustomCheckBox*>(&Reachable(name));
  if (box == nullptr) Refuse(form_, name + " is no check box");
  if (box->Checked() != checked) Click(name);
}

void TFormOperator::ShowPage(const std::string& name) {
  auto* page = dynamic_cast<TTabSheet*>(&Control(name));
  if (page == nullptr || page->PageControl() == nullptr) Refuse(form_, name + " is no page");
  if (!page->PageControl()->Reachable())
    Refuse(form_, name + " cannot be reached: its pages are hidden or disabled");
  page->PageControl()->SetActivePage(page);
}

void TFormOperator::PressEnter() {
  std::vector<TControl*> controls;
  CollectControls(form_, controls);
  for (TControl* control : controls)
    if (auto* button = dynamic_cast<TButton*>(control);
        button != nullptr && button->Default() && button->Reachable())
      return button->Click();
}

void TFormOperator::PressEscape() {
  std::vector<TControl*> controls;
  CollectControls(form_, controls);
  for (TControl* control : controls)
    if (auto* button = dynamic_cast<TButton*>(control);
        button != nullptr && button->Cancel() && button->Reachable())
      return button->Click();
  form_.Close();
}

void TFormOperator::PressAlt(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  std::vector<TControl*> controls;
  CollectControls(form_, controls);
  for (TControl* control : controls) {
    auto* sheet = dynamic_cast<TTabSheet*>(control);
    const bool reachable = sheet != nullptr ? sheet->PageControl()->Reachable() : control->Reachable();
    if (AcceleratorOf(control->Caption()) != letter || !reachable) continue;
    if (auto* label = dynamic_cast<TCustomLabel*>(control)) {
      if (label->FocusControl() != nullptr && label->FocusControl()->CanFocus())
        label->FocusControl()->SetFocus();
    } else if (sheet != nullptr) {
      sheet->PageControl()->SetActivePage(sheet);
    } else if (dynamic_cast<TButtonControl*>(control) != nullptr) {
      Click(control->Name());
    }
    return;
  }
}

}  // namespace tv
