#include "platform/ui/win32/win32_backend.h"

#include <windows.h>
// after windows.h, which they build on
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/std_controls.h"

namespace tv {

namespace {

// A form released while the host's loop runs is destroyed by this message,
// posted to a window of its own: a message to the thread would be lost in
// any modal loop that is not ours.
constexpr UINT kReleaseMessage = WM_APP + 1;
constexpr const char* kFormClass = "TvForm";
constexpr const char* kContainerClass = "TvContainer";  // panels and pages
constexpr const char* kReleaserClass = "TvReleaser";
// Control ids above the dialog codes IDOK and IDCANCEL, which Enter and
// Escape send.
constexpr int kFirstId = 100;
// The manifest resource that asks for the themed common controls.
constexpr ULONG_PTR kManifestId = 2;

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

COLORREF ColorRef(TColor color) {
  if ((color & 0xFF000000) == 0x80000000) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

// The module's manifest activated for the life of the object, so that the
// dialogs get the themed controls inside a host that did not ask for them.
class TActivation {
 public:
  TActivation() {
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = ThisModule();
    context.lpResourceName = MAKEINTRESOURCEA(kManifestId);
    handle_ = CreateActCtxA(&context);
    if (handle_ != INVALID_HANDLE_VALUE && !ActivateActCtx(handle_, &cookie_)) {
      ReleaseActCtx(handle_);
      handle_ = INVALID_HANDLE_VALUE;
    }
  }
  ~TActivation() {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    DeactivateActCtx(0, cookie_);
    ReleaseActCtx(handle_);
  }
  TActivation(const TActivation&) = delete;
  TActivation& operator=(const TActivation&) = delete;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

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

class TWin32Backend : public TUiBackend {
 public:
  TWin32Backend() : headless_(NewHeadlessBackend()) { Self() = this; }
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
  void SyncTabs(TShownForm& shown, TPageControl& pages, HWND window);
  void DestroyFormWindow(TShownForm& shown);
  bool PreTranslate(TShownForm& shown, const MSG& message);
  LRESULT HandleForm(TShownForm& shown, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                     bool& handled);
  void Command(TShownForm& shown, HWND control, WORD code, WORD id);
  LRESULT ControlColor(TShownForm& shown, HDC dc, HWND control);
  void DrawImage(TShownForm& shown, const DRAWITEMSTRUCT& item);
  void PaintContainer(TShownForm& shown, HWND window);
  HWND Releaser();
  template <class Body>
  static LRESULT Contained(Body&& body) noexcept;
  void RaisePending();

  std::unique_ptr<TUiBackend> headless_;
  std::vector<TShownForm*> shown_;  // innermost last
  std::set<TCustomForm*> released_;
  HWND releaser_ = nullptr;
  bool classesRegistered_ = false;
  bool syncing_ = false;  // a window's own change coming back
  // Thrown inside a window procedure, raised again where our loop ends.
  std::exception_ptr pending_;
};

// --- classes and styles

// Registered by the backend that uses them and unregistered when it goes,
// so that a library unloaded after its shutdown leaves no class whose
// procedure is gone. A class that a load freed without shutdown left behind
// makes registering fail: at the same address it names the same procedure
// and serves; a load elsewhere is another instance with classes of its own.
void TWin32Backend::RegisterClasses() {
  if (classesRegistered_) return;
  classesRegistered_ = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXA form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = FormProc;
  form.hInstance = ThisModule();
  form.hCursor = LoadCursor(nullptr, IDC_ARROW);
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager keeps its state here
  form.lpszClassName = kFormClass;
  RegisterClassExA(&form);
  WNDCLASSEXA container = form;
  container.lpfnWndProc = ContainerProc;
  container.hbrBackground = nullptr;  // painted in its own colour
  container.cbWndExtra = 0;
  container.lpszClassName = kContainerClass;
  RegisterClassExA(&container);
  WNDCLASSEXA releaser{};
  releaser.cbSize = sizeof releaser;
  releaser.lpfnWndProc = ReleaserProc;
  releaser.hInstance = ThisModule();
  releaser.lpszClassName = kReleaserClass;
  RegisterClassExA(&releaser);
}

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

DWORD TWin32Backend::FormStyle(const TCustomForm& form, DWORD& exStyle) {
  exStyle = WS_EX_CONTROLPARENT;
  switch (form.BorderStyle()) {
    case bsNone: return WS_POPUP;
    case bsSingle: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
    case bsSizeable: return WS_OVERLAPPEDWINDOW;
    case bsDialog: exStyle |= WS_EX_DLGMODALFRAME; return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case bsToolWindow: exStyle |= WS_EX_TOOLWINDOW; return WS_POPUP | WS_CAPTION | WS_SYSMENU;
    case bsSizeToolWin:
      exStyle |= WS_EX_TOOLWINDOW;
      return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  }
  return WS_POPUP | WS_CAPTION;
}

// What the system adds around a client area of the form's style.
SIZE TWin32Backend::FrameSize(const TCustomForm& form) {
  DWORD exStyle = 0;
  const DWORD style = FormStyle(form, exStyle);
  RECT rect{0, 0, 100, 100};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return {rect.right - rect.left - 100, rect.bottom - rect.top - 100};
}

// --- windows of the controls

HFONT TWin32Backend::FontOf(TShownForm& shown, const TFont& font) {
  const std::string key =
      font.Name() + "/" + std::to_string(font.Size()) + "/" + std::to_string(font.Style());
  auto found = shown.Fonts.find(key);
  if (found != shown.Fonts.end()) return found->second;
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(font.Size(), GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  const TFontStyles style = font.Style();
  HFONT handle =
      CreateFontA(height, 0, 0, 0, (style & FontStyle(fsBold)) != 0 ? FW_BOLD : FW_NORMAL,
                  (style & FontStyle(fsItalic)) != 0, (style & FontStyle(fsUnderline)) != 0,
                  (style & FontStyle(fsStrikeOut)) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Name().c_str());
  shown.Fonts[key] = handle;
  return handle;
}

HBRUSH TWin32Backend::BrushOf(TShownForm& shown, COLORREF color) {
  auto [place, added] = shown.Brushes.try_emplace(color, nullptr);
  if (added) place->second = CreateSolidBrush(color);
  return place->second;
}

HWND TWin32Backend::CreateControlWindow(TShownForm& shown, TControl& control, HWND parentWindow,
                                        POINT offset) {
  const char* windowClass = nullptr;
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS, exStyle = 0;
  std::string text = control.Caption();
  if (auto* button = ClassCast<TButton>(&control)) {
    windowClass = "BUTTON";
    style |= WS_TABSTOP | (button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  } else if (ClassCast<TCustomCheckBox>(&control) != nullptr) {
    windowClass = "BUTTON";
    style |= WS_TABSTOP | BS_CHECKBOX;  // its state is the control's: set on every change
  } else if (auto* memo = ClassCast<TCustomMemo>(&control)) {
    windowClass = "EDIT";
    exStyle |= WS_EX_CLIENTEDGE;
    style |= WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (memo->ScrollBars() == ssHorizontal || memo->ScrollBars() == ssBoth)
      style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (memo->ScrollBars() == ssVertical || memo->ScrollBars() == ssBoth) style |= WS_VSCROLL;
    if (memo->ReadOnly()) style |= ES_READONLY;
  } else if (auto* edit = ClassCast<TCustomEdit>(&control)) {
    windowClass = "EDIT";
    exStyle |= WS_EX_CLIENTEDGE;
    style |= WS_TABSTOP | ES_AUTOHSCROLL | (edit->ReadOnly() ? ES_READONLY : 0);
  } else if (auto* label = ClassCast<TCustomLabel>(&control)) {
    windowClass = "STATIC";
    style |= SS_NOTIFY | (label->WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP);
  } else if (ClassCast<TPageControl>(&control) != nullptr) {
    windowClass = WC_TABCONTROLA;
    style |= WS_TABSTOP;
    text.clear();
  } else if (ClassCast<TTabSheet>(&control) != nullptr || ClassCast<TPanel>(&control) != nullptr) {
    windowClass = kContainerClass;
    exStyle |= WS_EX_CONTROLPARENT;
    if (ClassCast<TPanel>(&control) == nullptr) text.clear();
  } else if (auto* bevel = ClassCast<TBevel>(&control)) {
    windowClass = "STATIC";
    text.clear();
    switch (bevel->Shape()) {
      case TBevelShape::bsTopLine:
      case TBevelShape::bsBottomLine: style |= SS_ETCHEDHORZ; break;
      case TBevelShape::bsLeftLine:
      case TBevelShape::bsRightLine: style |= SS_ETCHEDVERT; break;
      case TBevelShape::bsSpacer: break;
      default: style |= SS_ETCHEDFRAME;
    }
  } else if (ClassCast<TImage>(&control) != nullptr) {
    windowClass = "STATIC";
    style |= SS_OWNERDRAW;
    text.clear();
  } else {
    return nullptr;  // nothing a person sees
  }
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  int left = control.Left() + offset.x, top = control.Top() + offset.y;
  int width = control.Width(), height = control.Height();
  // A bottom line lies along the lower edge of its area.
  if (auto* bevel = ClassCast<TBevel>(&control);
      bevel != nullptr && bevel->Shape() == TBevelShape::bsBottomLine) {
    top += height - 2;
    height = 2;
  }
  const int id = shown.NextId++;
  HWND window =
      CreateWindowExA(exStyle, windowClass, text.c_str(), style, left, top, width, height, parentWindow,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(), nullptr);
  if (window == nullptr) return nullptr;
  shown.Controls[window] = &control;
  shown.Windows[&control] = window;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(shown, control.Font())), FALSE);
  Sync(shown, control, window);
  return window;
}

void TWin32Backend::CreateChildren(TShownForm& shown, const TWinControl& parent, HWND parentWindow,
                                   POINT offset) {
  // In tab order, which is the order the dialog manager moves in.
  std::vector<TControl*> children;
  for (int i = 0; i < parent.ControlCount(); ++i) children.push_back(parent.Controls(i));
  std::stable_sort(children.begin(), children.end(), [](TControl* a, TControl* b) {
    auto* wa = ClassCast<TWinControl>(a);
    auto* wb = ClassCast<TWinControl>(b);
    return (wa != nullptr ? wa->TabOrder() : -1) < (wb != nullptr ? wb->TabOrder() : -1);
  });
  for (TControl* child : children) {
    if (auto* pages = ClassCast<TPageControl>(child)) {
      // The pages lie over the tab control as its siblings, so that their
      // controls' messages come to the form.
      HWND tabs = CreateControlWindow(shown, *pages, parentWindow, offset);
      const POINT inner{offset.x + pages->Left(), offset.y + pages->Top()};
      for (int i = 0; i < pages->PageCount(); ++i) {
        TTabSheet* sheet = pages->Pages(i);
        if (HWND page = CreateControlWindow(shown, *sheet, parentWindow, inner)) {
          SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
          CreateChildren(shown, *sheet, page, {0, 0});
        }
      }
      if (tabs != nullptr) SyncTabs(shown, *pages, tabs);
      continue;
    }
    HWND window = CreateControlWindow(shown, *child, parentWindow, offset);
    if (auto* container = ClassCast<TWinControl>(child); container != nullptr && window != nullptr)
      CreateChildren(shown, *container, window, {0, 0});
  }
}

void TWin32Backend::CreateFormWindow(TShownForm& shown) {
  RegisterClasses();
  TCustomForm& form = *shown.Form;
  DWORD exStyle = 0;
  const DWORD style = FormStyle(form, exStyle);
  HWND owner = nullptr;
  for (TComponent* o = form.Owner(); o != nullptr && owner == nullptr; o = o->Owner())
    if (auto* ownerForm = ClassCast<TCustomForm>(o)) owner = static_cast<HWND>(WindowHandle(*ownerForm));
  if (owner == nullptr) owner = GetActiveWindow();
  shown.Window = CreateWindowExA(exStyle, kFormClass, form.Caption().c_str(), style, form.Left(), form.Top(),
                                 form.Width(), form.Height(), owner, nullptr, ThisModule(), nullptr);
  if (shown.Window == nullptr) return;
  shown.Controls[shown.Window] = &form;
  shown.Windows[&form] = shown.Window;
  // The client area as designed, whatever the system's frame.
  RECT client{0, 0, form.ClientWidth(), form.ClientHeight()};
  AdjustWindowRectEx(&client, style, FALSE, exStyle);
  SetWindowPos(shown.Window, nullptr, form.Left(), form.Top(), client.right - client.left,
               client.bottom - client.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(shown.Window, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(shown, form.Font())), FALSE);
  CreateChildren(shown, form, shown.Window, {0, 0});
}

void TWin32Backend::DestroyFormWindow(TShownForm& shown) {
  if (shown.Window != nullptr) DestroyWindow(shown.Window);
  for (auto& [key, font] : shown.Fonts) DeleteObject(font);
  for (auto& [key, brush] : shown.Brushes) DeleteObject(brush);
  shown.Window = nullptr;
  shown.Controls.clear();
  shown.Windows.clear();
}

// --- the framework's state shown in the windows

void TWin32Backend::SyncTabs(TShownForm&, TPageControl& pages, HWND window) {
  TabCtrl_DeleteAllItems(window);
  for (int i = 0; i < pages.PageCount(); ++i) {
    std::string caption = pages.Pages(i)->Caption();
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageA(window, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  TabCtrl_SetCurSel(window, pages.ActivePageIndex());
}

void TWin32Backend::Sync(TShownForm& shown, TControl& control, HWND window) {
  syncing_ = true;
  if (ClassCast<TPageControl>(&control) == nullptr && ClassCast<TBevel>(&control) == nullptr &&
      ClassCast<TImage>(&control) == nullptr && ClassCast<TTabSheet>(&control) == nullptr) {
    const std::string text = control.Caption();
    char current[4096] = {};
    GetWindowTextA(window, current, sizeof current);
    if (text != current) SetWindowTextA(window, text.c_str());
  }
  if (auto* box = ClassCast<TCustomCheckBox>(&control))
    SendMessageA(window, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  if (auto* pages = ClassCast<TPageControl>(&control)) {
    if (TabCtrl_GetItemCount(window) != pages->PageCount())
      SyncTabs(shown, *pages, window);
    else
      TabCtrl_SetCurSel(window, pages->ActivePageIndex());
  }
  if (control.Visible() != (IsWindowVisible(window) != FALSE) && &control != shown.Form)
    ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
  EnableWindow(window, control.Enabled() ? TRUE : FALSE);
  if (auto* form = ClassCast<TCustomForm>(&control); form != nullptr && form->ActiveControl() != nullptr) {
    auto found = shown.Windows.find(form->ActiveControl());
    if (found != shown.Windows.end() && GetFocus() != found->second && IsWindowVisible(shown.Window))
      SetFocus(found->second);
  }
  InvalidateRect(window, nullptr, TRUE);
  syncing_ = false;
}

void TWin32Backend::ControlChanged(TControl& control) {
  if (syncing_) return;
  TShownForm* shown = ShownOf(control);
  if (shown == nullptr) return;
  auto found = shown->Windows.find(&control);
  if (found != shown->Windows.end()) Sync(*shown, control, found->second);
}

TShownForm* TWin32Backend::Shown(HWND window) {
  for (TShownForm* shown : shown_)
    if (shown->Window == window || shown->Controls.count(window) != 0) return shown;
  return nullptr;
}

TShownForm* TWin32Backend::ShownOf(const TControl& control) {
  for (TShownForm* shown : shown_)
    if (shown->Windows.count(&control) != 0) return shown;
  return nullptr;
}

// --- the windows' messages back to the framework

void TWin32Backend::Command(TShownForm& shown, HWND window, WORD code, WORD id) {
  TCustomForm& form = *shown.Form;
  if (window == nullptr && id == IDOK) {
    form.PressEnter();
    return;
  }
  if (window == nullptr && id == IDCANCEL) {
    form.PressEscape();
    return;
  }
  auto found = shown.Controls.find(window);
  if (found == shown.Controls.end()) return;
  TControl& control = *found->second;
  if (code == BN_CLICKED && ClassCast<TButtonControl>(&control) != nullptr) {
    if (auto* focusable = ClassCast<TWinControl>(&control)) focusable->SetFocus();
    control.Click();
  } else if (code == STN_CLICKED && ClassCast<TCustomLabel>(&control) != nullptr) {
    control.Click();
  } else if (code == EN_CHANGE && !syncing_) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    syncing_ = true;
    control.SetText(text);
    syncing_ = false;
  } else if (code == EN_SETFOCUS || code == BN_SETFOCUS) {
    if (auto* focusable = ClassCast<TWinControl>(&control)) {
      syncing_ = true;
      form.SetActiveControl(focusable);
      syncing_ = false;
    }
  }
}

LRESULT TWin32Backend::ControlColor(TShownForm& shown, HDC dc, HWND window) {
  auto found = shown.Controls.find(window);
  TControl* control = found != shown.Controls.end() ? found->second : nullptr;
  // Read-only edits ask as statics do; they keep the window colour.
  if (control != nullptr && ClassCast<TCustomEdit>(control) != nullptr) {
    SetTextColor(dc, ColorRef(control->Font().Color()));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  // Labels and check boxes stand on their parent's colour.
  COLORREF background = GetSysColor(COLOR_BTNFACE);
  if (control != nullptr && control->Parent() != nullptr && ClassCast<TPanel>(control->Parent()) != nullptr)
    background = ColorRef(control->Parent()->Color());
  if (control != nullptr) SetTextColor(dc, ColorRef(control->Font().Color()));
  SetBkMode(dc, TRANSPARENT);
  SetBkColor(dc, background);
  return reinterpret_cast<LRESULT>(BrushOf(shown, background));
}

void TWin32Backend::DrawImage(TShownForm& shown, const DRAWITEMSTRUCT& item) {
  auto found = shown.Controls.find(item.hwndItem);
  auto* image = found != shown.Controls.end() ? ClassCast<TImage>(found->second) : nullptr;
  if (image == nullptr) return;
  COLORREF background = GetSysColor(COLOR_BTNFACE);
  if (image->Parent() != nullptr && ClassCast<TPanel>(image->Parent()) != nullptr)
    background = ColorRef(image->Parent()->Color());
  FillRect(item.hDC, &item.rcItem, BrushOf(shown, background));
  auto* bitmap = dynamic_cast<const TBitmap*>(image->Picture().Graphic());
  if (bitmap == nullptr || bitmap->Empty()) return;
  // Blended on the background here: the system's blit knows no alpha.
  const int width = bitmap->Width(), height = bitmap->Height();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const std::uint32_t r0 = GetRValue(background), g0 = GetGValue(background), b0 = GetBValue(background);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = bitmap->Pixel(x, y), a = p >> 24;
      auto mix = [a](std::uint32_t front, std::uint32_t back) {
        return (front * a + back * (255 - a)) / 255;
      };
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          mix((p >> 16) & 0xFF, r0) << 16 | mix((p >> 8) & 0xFF, g0) << 8 | mix(p & 0xFF, b0);
    }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the pixels are kept
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int areaWidth = item.rcItem.right - item.rcItem.left,
            areaHeight = item.rcItem.bottom - item.rcItem.top;
  if (image->Stretch()) {
    StretchDIBits(item.hDC, 0, 0, areaWidth, areaHeight, 0, 0, width, height, pixels.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
  } else {
    const int left = image->Center() ? (areaWidth - width) / 2 : 0;
    const int top = image->Center() ? (areaHeight - height) / 2 : 0;
    SetDIBitsToDevice(item.hDC, left, top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  }
}

void TWin32Backend::PaintContainer(TShownForm& shown, HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  auto found = shown.Controls.find(window);
  TControl* control = found != shown.Controls.end() ? found->second : nullptr;
  auto* panel = control != nullptr ? ClassCast<TPanel>(control) : nullptr;
  const COLORREF color = panel != nullptr ? ColorRef(panel->Color()) : GetSysColor(COLOR_BTNFACE);
  FillRect(dc, &area, BrushOf(shown, color));
  if (panel != nullptr) {
    auto edge = [&](TPanelBevel bevel) {
      if (bevel == TPanelBevel::bvRaised) DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
      if (bevel == TPanelBevel::bvLowered) DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    };
    edge(panel->BevelOuter());
    edge(panel->BevelInner());
  }
  EndPaint(window, &paint);
}

LRESULT TWin32Backend::HandleForm(TShownForm& shown, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                  bool& handled) {
  handled = true;
  switch (message) {
    case WM_COMMAND: Command(shown, reinterpret_cast<HWND>(lParam), HIWORD(wParam), LOWORD(wParam)); return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      auto found = shown.Controls.find(header->hwndFrom);
      auto* pages = found != shown.Controls.end() ? ClassCast<TPageControl>(found->second) : nullptr;
      if (pages != nullptr && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        const int index = TabCtrl_GetCurSel(header->hwndFrom);
        if (index >= 0 && index < pages->PageCount()) pages->SetActivePage(pages->Pages(index));
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ControlColor(shown, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DRAWITEM: DrawImage(shown, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETCURSOR: {
      auto found = shown.Controls.find(reinterpret_cast<HWND>(wParam));
      if (found != shown.Controls.end() && found->second->Cursor() == crHandPoint) {
        SetCursor(LoadCursor(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      if (window == shown.Window) shown.Form->Close();
      return 0;
    case DM_GETDEFID:
      if (window == shown.Window) {
        for (const auto& [handle, control] : shown.Controls)
          if (auto* button = ClassCast<TButton>(control); button != nullptr && button->Default())
            return MAKELRESULT(GetDlgCtrlID(handle), DC_HASDEFID);
        return 0;
      }
      break;
    default: break;
  }
  handled = false;
  return 0;
}

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

void TWin32Backend::RaisePending() {
  if (pending_) std::rethrow_exception(std::exchange(pending_, nullptr));
}

LRESULT CALLBACK TWin32Backend::FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Contained([&]() -> LRESULT {
    TWin32Backend* self = Self();
    if (TShownForm* shown = self != nullptr ? self->Shown(window) : nullptr) {
      bool handled = false;
      const LRESULT result = self->HandleForm(*shown, window, message, wParam, lParam, handled);
      // A result given while a message sent from elsewhere was handled (a
      // click by an accessibility tool) must wake the modal loop, which only
      // looks at it when a posted message arrives.
      if (shown->Form->ModalResult() != mrNone) PostMessageA(shown->Window, WM_NULL, 0, 0);
      if (handled) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  });
}

LRESULT CALLBACK TWin32Backend::ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Contained([&]() -> LRESULT {
    TWin32Backend* self = Self();
    TShownForm* shown = self != nullptr ? self->Shown(window) : nullptr;
    if (shown != nullptr && message == WM_PAINT) {
      self->PaintContainer(*shown, window);
      return 0;
    }
    if (shown != nullptr && message == WM_ERASEBKGND) return 1;
    if (shown != nullptr) {
      bool handled = false;
      const LRESULT result = self->HandleForm(*shown, window, message, wParam, lParam, handled);
      if (shown->Form->ModalResult() != mrNone) PostMessageA(shown->Window, WM_NULL, 0, 0);
      if (handled) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  });
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
  if (HeadlessDriversActive()) return headless_->ShowModal(form);
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

bool TWin32Backend::ExecuteOpenDialog(TOpenDialog& dialog) {
  if (HeadlessDriversActive()) return headless_->ExecuteOpenDialog(dialog);
  TActivation activation;
  // "Description|Pattern|..." becomes pairs of NUL-ended texts.
  std::string filter = dialog.Filter();
  std::replace(filter.begin(), filter.end(), '|', '\0');
  filter.append(2, '\0');
  std::vector<char> file(32768, '\0');
  dialog.FileName().copy(file.data(), file.size() - 1);
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = shown_.empty() ? GetActiveWindow() : shown_.back()->Window;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = static_cast<DWORD>(dialog.FilterIndex());
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  const std::string title = dialog.Title(), initialDir = dialog.InitialDir(),
                    defaultExt = dialog.DefaultExt();
  request.lpstrTitle = title.empty() ? nullptr : title.c_str();
  request.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  request.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  // The host's current directory is not the plug-in's to change.
  request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  const BOOL chosen = GetOpenFileNameA(&request);
  RaisePending();  // from our windows, painted by the system's own loop meanwhile
  if (!chosen) return false;
  dialog.SetFileName(file.data());
  return true;
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
  if (PostMessageA(Releaser(), kReleaseMessage, 0, reinterpret_cast<LPARAM>(&form))) return;
  released_.erase(&form);  // no message queue to post to: at the next ProcessMessages
  headless_->PostRelease(form);
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
  headless_->ProcessMessages();
}

void TWin32Backend::DestroyReleasedForms() {
  // A form destroyed here may release others: take them in turns. Their
  // queued messages then find nothing to destroy.
  while (!released_.empty()) {
    TCustomForm* form = *released_.begin();
    released_.erase(released_.begin());
    delete form;
  }
  headless_->DestroyReleasedForms();
}

void TWin32Backend::FormDestroyed(TCustomForm& form) {
  released_.erase(&form);
  headless_->FormDestroyed(form);
}

void* TWin32Backend::WindowHandle(const TCustomForm& form) const {
  for (const TShownForm* shown : shown_)
    if (shown->Form == &form) return shown->Window;
  return nullptr;
}

// The icon as a 32-bit picture with its transparency.
bool TWin32Backend::LoadModuleIcon(const std::string& name, TBitmap& bitmap) const {
  HICON icon =
      static_cast<HICON>(LoadImageA(ThisModule(), name.c_str(), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
  if (icon == nullptr) return false;
  ICONINFO parts{};
  bool done = false;
  if (GetIconInfo(icon, &parts)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(32 * 32);
    HDC screen = GetDC(nullptr);
    done = parts.hbmColor != nullptr &&
           GetDIBits(screen, parts.hbmColor, 0, 32, pixels.data(), &info, DIB_RGB_COLORS) == 32;
    ReleaseDC(nullptr, screen);
    if (done) bitmap.SetPixels(32, 32, std::move(pixels));
    if (parts.hbmColor != nullptr) DeleteObject(parts.hbmColor);
    if (parts.hbmMask != nullptr) DeleteObject(parts.hbmMask);
  }
  DestroyIcon(icon);
  return done;
}

}  // namespace

std::unique_ptr<TUiBackend> NewWin32Backend() {
  return std::make_unique<TWin32Backend>();
}

void OrphanWin32Windows() noexcept {
  TWin32Backend::OrphanWindows();
}

}  // namespace tv
