#include "platform/ui/form_dump.h"

#include "platform/components/properties.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

bool PublishedFlag(const TControl& control, const char* name) {
  const TPropertyInfo* p = FindProperty(control, name, TPropertyKind::pkBoolean);
  return p != nullptr && p->GetOrdinal(control) != 0;
}

// The text a person reads on the control: its caption or its text.
void AppendText(const TControl& control, std::string& line) {
  if (FindProperty(control, "Lines", TPropertyKind::pkClass) != nullptr) return;  // shown line by line
  for (const char* name : {"Caption", "Text"})
    if (FindProperty(control, name, TPropertyKind::pkString) != nullptr) {
      line += " \"" + control.Text() + "\"";
      return;
    }
}

void AppendState(const TControl& control, std::string& line) {
  if (!control.Visible()) line += " hidden";
  if (!control.Enabled()) line += " disabled";
  for (const char* flag : {"Checked", "ReadOnly", "Default", "Cancel"})
    if (PublishedFlag(control, flag)) line += " " + LowerCase(flag);
  if (const auto* window = dynamic_cast<const TWinControl*>(&control); window != nullptr && window->Focused())
    line += " focused";
  const TPropertyInfo* active = FindProperty(control, "ActivePage", TPropertyKind::pkClass);
  if (const auto* page = active ? dynamic_cast<const TComponent*>(active->GetObject(control)) : nullptr)
    line += " page " + page->Name();
}

using TWrite = std::function<void(std::string_view)>;

void DumpControl(const TControl& control, int depth, const TWrite& write) {
  const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
  std::string line = indent + control.ClassName() + " " + control.Name() + " at " +
                     std::to_string(control.Left()) + "," + std::to_string(control.Top()) + " size " +
                     std::to_string(control.Width()) + "x" + std::to_string(control.Height());
  AppendText(control, line);
  AppendState(control, line);
  line += '\n';
  write(line);
  const TPropertyInfo* lines = FindProperty(control, "Lines", TPropertyKind::pkClass);
  if (const auto* strings = lines ? dynamic_cast<const TStrings*>(lines->GetObject(control)) : nullptr) {
    for (int i = 0; i < strings->Count(); ++i) {
      line = indent + "  | ";
      line += strings->Get(i);
      line += '\n';
      write(line);
    }
  }
  if (const auto* window = dynamic_cast<const TWinControl*>(&control))
    for (int i = 0; i < window->ControlCount(); ++i) DumpControl(*window->Controls(i), depth + 1, write);
}

}  // namespace

void DumpForm(const TCustomForm& form, const TWrite& write) {
  DumpControl(form, 0, write);
  for (int i = 0; i < form.ComponentCount(); ++i) {
    const TComponent* component = form.Components(i);
    if (dynamic_cast<const TControl*>(component) == nullptr)
      write("  " + component->ClassName() + " " + component->Name() + "\n");
  }
}

std::string DumpForm(const TCustomForm& form) {
  std::string out;
  DumpForm(form, [&out](std::string_view line) { out += line; });
  return out;
}

}  // namespace tv
