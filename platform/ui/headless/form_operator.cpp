#include "platform/ui/headless/form_operator.h"

#include "platform/ui/ext_controls.h"
#include "platform/ui/std_controls.h"

namespace tv {

namespace {

[[noreturn]] void Refuse(const TCustomForm& form, const std::string& what) {
  throw EInvalidOperation(form.Name() + ": " + what);
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
  form_.PressEnter();
}

void TFormOperator::PressEscape() {
  form_.PressEscape();
}

void TFormOperator::PressAlt(char letter) {
  form_.DialogChar(letter);
}

}  // namespace tv
