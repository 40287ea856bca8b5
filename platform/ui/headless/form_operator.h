#pragma once
// Operates a form as a person would: only controls that are visible and
// enabled (on the page shown) can be clicked, typed into or checked. Used by
// modal drivers in tests and tools.

#include <string>

#include "platform/ui/forms.h"

namespace tv {

class TFormOperator {
 public:
  explicit TFormOperator(TCustomForm& form) : form_(form) {}

  TCustomForm& Form() const { return form_; }
  // The control of that name; EInvalidOperation when the form has none.
  TControl& Control(const std::string& name) const;
  std::string Text(const std::string& name) const { return Control(name).Text(); }

  void Click(const std::string& name);
  void Type(const std::string& name, const std::string& text);
  void SetChecked(const std::string& name, bool checked);
  // Clicks the tab of a page.
  void ShowPage(const std::string& name);
  // Enter presses the default button, Escape the cancel button (or closes).
  void PressEnter();
  void PressEscape();
  // Alt + Letter: a button or check box of that accelerator is clicked, a
  // label's focus control is focused, a page is shown.
  void PressAlt(char letter);
  // The close box of the window.
  void Close() { form_.Close(); }

 private:
  TControl& Reachable(const std::string& name) const;
  TCustomForm& form_;
};

}  // namespace tv
