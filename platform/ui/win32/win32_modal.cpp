// The modal run of a form, its keys, and the release of forms through a
// window of their own.
#include "platform/ui/win32/win32_backend.h"
#include "platform/ui/win32/win32_internal.h"

#include <algorithm>

#include "platform/ui/ext_controls.h"

namespace tv::win32_detail {

BOOL CALLBACK CollectEnabled(HWND window, LPARAM list) {
  if (IsWindowVisible(window) && IsWindowEnabled(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The thread's other windows, the owner among them, wait while a modal form
// runs; they take input again however the run ends, a thrown exception
// included: a host left with a disabled main window cannot be used.
class TOtherWindowsDisabled {
 public:
  explicit TOtherWindowsDisabled(HWND modal) {
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&windows_));
    windows_.erase(std::remove(windows_.begin(), windows_.end(), modal), windows_.end());
    for (HWND window : windows_) EnableWindow(window, FALSE);
  }
  ~TOtherWindowsDisabled() {
    for (HWND window : windows_) EnableWindow(window, TRUE);
  }
  TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
  TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;

 private:
  std::vector<HWND> windows_;
};

TWin32Backend::~TWin32Backend() {
  DestroyReleasedForms();
  if (releaser_ != nullptr) DestroyWindow(releaser_);  // release messages still queued are dropped with it
  if (classesRegistered_)
    for (const char* name : {kFormClass, kContainerClass, kReleaserClass})
      UnregisterClassA(name, ThisModule());
  Self() = nullptr;
}

// The library is unloaded without shutdown: the release window outlives it.
// Handed to the system's procedure, a release message still queued for it
// runs no code that is gone. Nothing else is touched: this runs under the
// loader lock.
void TWin32Backend::OrphanWindows() noexcept {
  TWin32Backend* self = Self();
  if (self != nullptr && self->releaser_ != nullptr)
    SetWindowLongPtrA(self->releaser_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcA));
}

// --- the modal run, keys, release

bool TWin32Backend::PreTranslate(TShownForm& shown, const MSG& message) {
  if (message.hwnd != shown.Window && !IsChild(shown.Window, message.hwnd)) return false;
  // Alt + letter by the framework's rules: a label's focus control is not
  // the control after it, where the dialog manager would go.
  if (message.message == WM_SYSCHAR) {
    const char letter = static_cast<char>(message.wParam);
    if (shown.Form->DialogChar(letter)) return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
    for (const auto& [handle, control] : shown.Controls)
      if (auto* pages = ClassCast<TPageControl>(control); pages != nullptr && pages->Reachable()) {
        pages->SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        return true;
      }
  }
  return false;
}

int TWin32Backend::ShowModal(TCustomForm& form) {
  TActivation activation;
  TShownForm shown;
  shown.Form = &form;
  shown_.push_back(&shown);
  struct TPop {
    TWin32Backend& self;
    TShownForm& shown;
    ~TPop() {
      // The owner comes back to the front before this window goes, so that
      // the system does not activate some other program's window.
      if (shown.Window != nullptr)
        if (HWND owner = GetWindow(shown.Window, GW_OWNER)) SetActiveWindow(owner);
      self.DestroyFormWindow(shown);
      self.shown_.erase(std::remove(self.shown_.begin(), self.shown_.end(), &shown), self.shown_.end());
    }
  } pop{*this, shown};
  CreateFormWindow(shown);
  RaisePending();
  if (shown.Window == nullptr) return mrCancel;
  const TOtherWindowsDisabled others(shown.Window);
  ShowWindow(shown.Window, SW_SHOW);
  SetForegroundWindow(shown.Window);
  if (form.ActiveControl() != nullptr && shown.Windows.count(form.ActiveControl()) != 0)
    SetFocus(shown.Windows[form.ActiveControl()]);
  else
    SetFocus(GetNextDlgTabItem(shown.Window, nullptr, FALSE));
  MSG message;
  bool quit = false;
  while (form.ModalResult() == mrNone && !pending_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0;
      break;
    }
    if (PreTranslate(shown, message) || IsDialogMessageA(shown.Window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));  // for the host's own loop
  RaisePending();
  return form.ModalResult() != mrNone ? form.ModalResult() : mrCancel;
}

HWND TWin32Backend::Releaser() {
  if (releaser_ == nullptr) {
    RegisterClasses();
    releaser_ =
        CreateWindowExA(0, kReleaserClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, ThisModule(), nullptr);
  }
  return releaser_;
}

LRESULT CALLBACK TWin32Backend::ReleaserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Contained([&]() -> LRESULT {
    TWin32Backend* self = Self();
    if (message == kReleaseMessage && self != nullptr) {
      auto* form = reinterpret_cast<TCustomForm*>(lParam);
      if (self->released_.erase(form) != 0) delete form;  // not destroyed by anyone else meanwhile
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  });
}

void TWin32Backend::PostRelease(TCustomForm& form) {
  if (!released_.insert(&form).second) return;
  // Without a queue to post to, the form stays among the released ones and
  // goes at the next ProcessMessages.
  PostMessageA(Releaser(), kReleaseMessage, 0, reinterpret_cast<LPARAM>(&form));
}

void TWin32Backend::ProcessMessages() {
  MSG message;
  while (!pending_ && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  RaisePending();
  // What is still released had its message lost, or none posted.
  DestroyReleasedForms();
}

void TWin32Backend::DestroyReleasedForms() {
  // A form destroyed here may release others: take them in turns. Their
  // queued messages then find nothing to destroy.
  while (!released_.empty()) {
    TCustomForm* form = *released_.begin();
    released_.erase(released_.begin());
    delete form;
  }
}

void TWin32Backend::FormDestroyed(TCustomForm& form) {
  released_.erase(&form);
}

void* TWin32Backend::WindowHandle(const TCustomForm& form) const {
  for (const TShownForm* shown : shown_)
    if (shown->Form == &form) return shown->Window;
  return nullptr;
}

void TWin32Backend::RaisePending() {
  if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

}  // namespace tv::win32_detail

namespace tv {

std::unique_ptr<TUiBackend> NewWin32Backend() {
  return std::make_unique<win32_detail::TWin32Backend>();
}

void OrphanWin32Windows() noexcept {
  win32_detail::TWin32Backend::OrphanWindows();
}

}  // namespace tv
