#include "platform/ui/headless/headless_script.h"

#include <cstdio>
#include <deque>
#include <memory>
#include <vector>

#include "platform/system/module.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/form_dump.h"
#include "platform/ui/headless/dialog_terminal.h"
#include "platform/ui/headless/form_operator.h"
#include "platform/ui/std_controls.h"

namespace tv {

namespace {

struct TStep {
  std::string Kind, Name, Value;
};

std::vector<TStep> ParseSteps(const std::string& script, std::deque<std::optional<std::string>>& files) {
  std::vector<TStep> steps;
  std::size_t at = 0;
  while (at < script.size()) {
    std::size_t end = script.find('\n', at);
    if (end == std::string::npos) end = script.size();
    std::string line = script.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    const std::size_t blank = line.find(' ');
    const std::string kind = line.substr(0, blank);
    const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
    if (kind == "file") {
      files.push_back(rest.empty() ? std::nullopt : std::optional<std::string>(rest));
    } else if (kind == "click" && !rest.empty()) {
      steps.push_back({kind, rest, ""});
    } else if (kind == "set" && rest.find('=') != std::string::npos && rest.find('=') > 0) {
      steps.push_back({kind, rest.substr(0, rest.find('=')), rest.substr(rest.find('=') + 1)});
    } else {
      throw EInvalidOperation("Not a step: " + line);
    }
  }
  return steps;
}

void Do(TFormOperator& person, const TStep& step) {
  TControl& control = person.Control(step.Name);
  if (step.Kind == "click") {
    if (dynamic_cast<TTabSheet*>(&control) != nullptr)
      person.ShowPage(step.Name);
    else
      person.Click(step.Name);
  } else if (dynamic_cast<TCustomCheckBox*>(&control) != nullptr) {
    if (step.Value != "0" && step.Value != "1")
      throw EInvalidOperation(step.Name + " is a check box: set it to 1 or 0");
    person.SetChecked(step.Name, step.Value == "1");
  } else {
    person.Type(step.Name, step.Value);
  }
}

// What the drivers share: the steps are for the first form only.
struct TScriptState {
  std::vector<TStep> Steps;
  std::deque<std::optional<std::string>> Files;
  TScriptPrinter Print;
  bool Operating = false;
  bool Done = false;
};

void Print(const TScriptState& state, const TCustomForm& form) {
  DumpForm(form, [&state](std::string_view line) { state.Print(line, false); });
}

void Operate(TScriptState& state, TCustomForm& form) {
  if (state.Operating || state.Done) {  // opened by a step, or a later form
    Print(state, form);
    TFormOperator(form).Close();
    return;
  }
  state.Operating = true;
  TFormOperator person(form);
  try {
    for (const TStep& step : state.Steps) Do(person, step);
  } catch (const std::exception& e) {
    state.Print(std::string(kStepFailed) + e.what() + "\n", true);
  }
  state.Operating = false;
  state.Done = true;
  Print(state, form);
  if (form.ModalResult() == mrNone) person.Close();
}

}  // namespace

TScriptPrinter StandardStreams() {
  return [](std::string_view text, bool toError) {
    std::FILE* stream = toError ? stderr : stdout;
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
  };
}

THeadlessDrivers ScriptDrivers(const std::string& script, TScriptPrinter print) {
  auto state = std::make_shared<TScriptState>();
  state->Steps = ParseSteps(script, state->Files);
  state->Print = std::move(print);
  THeadlessDrivers drivers;
  drivers.Modal = [state](TCustomForm& form) { Operate(*state, form); };
  drivers.Files = [state](TOpenDialog&) -> std::optional<std::string> {
    if (state->Files.empty()) return std::nullopt;
    std::optional<std::string> answer = state->Files.front();
    state->Files.pop_front();
    return answer;
  };
  return drivers;
}

std::optional<THeadlessDrivers> HostTerminalDrivers() {
  const auto offer = reinterpret_cast<TvDialogTerminalExport>(sys::HostProgramExport(kDialogTerminalExport));
  const TvDialogTerminal* terminal = offer != nullptr ? offer() : nullptr;
  if (terminal == nullptr || terminal->Print == nullptr) return std::nullopt;
  TScriptPrinter print = [terminal](std::string_view text, bool toError) {
    terminal->Print(text.data(), text.size(), toError ? 1 : 0);
  };
  try {
    return ScriptDrivers(terminal->Steps != nullptr ? terminal->Steps : "", print);
  } catch (const std::exception& e) {
    print(std::string(kStepFailed) + e.what() + "\n", true);
    return ScriptDrivers("", print);  // shown and closed, untouched
  }
}

}  // namespace tv
