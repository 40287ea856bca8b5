// A host window and a form whose buttons throw, for dialogs.sh: what a click
// handler throws must come out of ShowModal (never through the system's
// frames), from a form shown inside another form's handler too; the host's
// window takes input again, and forms can be shown again afterwards.
//
//   "Throwing (N)" for the Nth run (its owner: the window "Throwing host")
//     Button@8,8   throws
//     Button@8,40  shows "Inner", whose Button@8,8 throws
//     Button@8,72  Ok
// Each run prints "caught: WHAT" or "result: N", and "host enabled: 0|1".

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"

namespace {

using namespace tv;

TButton* AddButton(TForm& form, int top, const char* caption, TNotifyEvent onClick) {
  auto* button = new TButton(&form);
  button->SetParent(&form);
  button->SetBounds(8, top, 120, 25);
  button->SetCaption(caption);
  button->OnClick = std::move(onClick);
  return button;
}

void Throw(TObject*) {
  throw std::runtime_error("thrown by a click");
}

void ShowOnce(TForm& form, int run, HWND host) {
  form.SetCaption("Throwing (" + std::to_string(run) + ")");
  try {
    std::printf("result: %d\n", form.ShowModal());
  } catch (const std::exception& e) {
    std::printf("caught: %s\n", e.what());
  }
  std::printf("host enabled: %d\n", IsWindowEnabled(host) ? 1 : 0);
  std::fflush(stdout);
}

}  // namespace

int main() {
  HWND host = CreateWindowExA(0, "STATIC", "Throwing host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 10, 300,
                              200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetActiveWindow(host);
  TForm inner(nullptr);
  inner.SetCaption("Inner");
  inner.SetBounds(200, 200, 200, 120);
  AddButton(inner, 8, "Wirf", Throw);
  TForm form(nullptr);
  form.SetBounds(100, 100, 200, 150);
  AddButton(form, 8, "Wirf", Throw);
  AddButton(form, 40, "Innen", [&](TObject*) { inner.ShowModal(); });
  AddButton(form, 72, "Ok", nullptr)->SetModalResult(mrOk);
  for (int run = 1; run <= 3; ++run) ShowOnce(form, run, host);
  DestroyWindow(host);
  return 0;
}
