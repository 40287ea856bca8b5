#pragma once
// The Win32 backend's parts, shared by its files: the windows and their
// per-control traits (win32_windows.cpp), the windows' messages
// (win32_messages.cpp), the modal run and the release of forms
// (win32_modal.cpp), the common dialogs and icons (win32_common.cpp).

#include <windows.h>
// after windows.h, which they build on
#include <commctrl.h>
#include <commdlg.h>

#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/ui/backend.h"
#include "platform/ui/forms.h"

namespace tv::win32_detail {

// A form released while the host's loop runs is destroyed by this message,
// posted to a window of its own: a message to the thread would be lost in
// any modal loop that is not ours.
inline constexpr UINT kReleaseMessage = WM_APP + 1;
inline constexpr const char* kFormClass = "TvForm";
inline constexpr const char* kContainerClass = "TvContainer";  // panels and pages
inline constexpr const char* kReleaserClass = "TvReleaser";
// Control ids above the dialog codes IDOK and IDCANCEL, which Enter and
// Escape send.
inline constexpr int kFirstId = 100;
// The manifest resource that asks for the themed common controls.
inline constexpr ULONG_PTR kManifestId = 2;

// The module that holds this code (the plug-in's library, or a test's program).
HMODULE ThisModule();
// A framework colour, system colours included, as the system's colour.
COLORREF ColorRef(TColor color);

// The module's manifest activated for the life of the object, so that the
// dialogs get the themed controls inside a host that did not ask for them.
class TActivation {
 public:
  TActivation();
  ~TActivation();
  TActivation(const TActivation&) = delete;
  TActivation& operator=(const TActivation&) = delete;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

// One shown form: its windows and the fonts and brushes they use.
struct TShownForm {
  TCustomForm* Form = nullptr;
  HWND Window = nullptr;
  std::map<HWND, TControl*> Controls;
  std::map<const TControl*, HWND> Windows;
  std::map<std::string, HFONT> Fonts;
  std::map<COLORREF, HBRUSH> Brushes;
  int NextId = kFirstId;
};

// How a control of the framework is shown: the system's window class, its
// styles, whether its caption is the window's text, what else of its state
// the window shows, and the colours it stands on. One row per kind of
// control; the first row whose class the control has or descends from
// holds.
enum class TBackground : unsigned char {
  bgParent,  // stands on its parent's colour (labels, check boxes)
  bgWindow,  // keeps the window colour (edits, read-only ones too)
};

struct TControlTraits {
  const TClassInfo* Class;
  const char* WindowClass;
  DWORD Style, ExStyle;
  // Styles from the control's settings, or null.
  DWORD (*Styles)(const TControl& control);
  bool ShowsText;
  // The rest of the control's state shown in its window, or null.
  void (*SyncState)(TControl& control, HWND window);
  TBackground Background;
  // Where the window lies within the control's area, or null for all of it.
  void (*Place)(const TControl& control, RECT& area);
};

// The row for the control, or null for a control no person sees.
const TControlTraits* TraitsOf(const TControl& control);

class TWin32Backend : public TUiBackend {
 public:
  TWin32Backend() { Self() = this; }
  ~TWin32Backend() override;

  int ShowModal(TCustomForm& form) override;
  bool ExecuteOpenDialog(TOpenDialog& dialog) override;
  void PostRelease(TCustomForm& form) override;
  void ProcessMessages() override;
  void FormDestroyed(TCustomForm& form) override;
  void DestroyReleasedForms() override;
  int FrameWidth(const TCustomForm& form) const override { return FrameSize(form).cx; }
  int FrameHeight(const TCustomForm& form) const override { return FrameSize(form).cy; }
  void* WindowHandle(const TCustomForm& form) const override;
  bool LoadModuleIcon(const std::string& name, TBitmap& bitmap) const override;
  void ControlChanged(TControl& control) override;
  static void OrphanWindows() noexcept;

 private:
  template <class Body>
  static LRESULT Contained(Body&& body) noexcept;
  static TWin32Backend*& Self() {
    static TWin32Backend* self = nullptr;
    return self;
  }
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ReleaserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RegisterClasses();
  static DWORD FormStyle(const TCustomForm& form, DWORD& exStyle);
  static SIZE FrameSize(const TCustomForm& form);

  TShownForm* Shown(HWND window);
  TShownForm* ShownOf(const TControl& control);
  void CreateFormWindow(TShownForm& shown);
  void CreateChildren(TShownForm& shown, const TWinControl& parent, HWND parentWindow, POINT offset);
  HWND CreateControlWindow(TShownForm& shown, TControl& control, HWND parentWindow, POINT offset);
  HFONT FontOf(TShownForm& shown, const TFont& font);
  HBRUSH BrushOf(TShownForm& shown, COLORREF color);
  void Sync(TShownForm& shown, TControl& control, HWND window);
  void DestroyFormWindow(TShownForm& shown);
  bool PreTranslate(TShownForm& shown, const MSG& message);
  LRESULT HandleForm(TShownForm& shown, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     bool& handled);
  void Command(TShownForm& shown, HWND control, WORD code, WORD id);
  LRESULT ControlColor(TShownForm& shown, HDC dc, HWND control);
  void DrawImage(TShownForm& shown, const DRAWITEMSTRUCT& item);
  void PaintContainer(TShownForm& shown, HWND window);
  HWND Releaser();
  void RaisePending();

  std::vector<TShownForm*> shown_;  // innermost last
  std::set<TCustomForm*> released_;
  HWND releaser_ = nullptr;
  bool classesRegistered_ = false;
  bool syncing_ = false;  // a window's own change coming back
  // Thrown inside a window procedure, raised again where our loop ends.
  std::exception_ptr pending_;
};

// Nothing may unwind from a window procedure into the system's frames that
// called it (the host's among them): a mingw-built module cannot cross them
// safely and the mail client would die. The first exception waits in the
// backend; the loop that dispatched the message ends at once (a posted
// message wakes it when the message was sent from inside GetMessage) and
// raises it, inside the export that opened the dialog.
template <class Body>
LRESULT TWin32Backend::Contained(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    TWin32Backend* self = Self();
    if (self != nullptr && !self->pending_) self->pending_ = std::current_exception();
    PostThreadMessageA(GetCurrentThreadId(), WM_NULL, 0, 0);
    return 0;
  }
}

}  // namespace tv::win32_detail
