// The forms' windows: the classes registered for them, a window for each
// control by its traits, and the framework's state shown in them.
#include "platform/ui/win32/win32_internal.h"

#include <algorithm>

#include "platform/ui/ext_controls.h"
#include "platform/ui/std_controls.h"

namespace tv::win32_detail {

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

// --- the traits of each control

namespace {

void SyncTabs(TPageControl& pages, HWND window) {
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

DWORD ButtonStyles(const TControl& control) {
  return static_cast<const TButton&>(control).Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

DWORD EditStyles(const TControl& control) {
  return static_cast<const TCustomEdit&>(control).ReadOnly() ? ES_READONLY : 0;
}

DWORD MemoStyles(const TControl& control) {
  const auto& memo = static_cast<const TCustomMemo&>(control);
  DWORD style = EditStyles(control);
  if (memo.ScrollBars() == ssHorizontal || memo.ScrollBars() == ssBoth) style |= WS_HSCROLL | ES_AUTOHSCROLL;
  if (memo.ScrollBars() == ssVertical || memo.ScrollBars() == ssBoth) style |= WS_VSCROLL;
  return style;
}

DWORD LabelStyles(const TControl& control) {
  return static_cast<const TCustomLabel&>(control).WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
}

DWORD BevelStyles(const TControl& control) {
  switch (static_cast<const TBevel&>(control).Shape()) {
    case TBevelShape::bsTopLine:
    case TBevelShape::bsBottomLine: return SS_ETCHEDHORZ;
    case TBevelShape::bsLeftLine:
    case TBevelShape::bsRightLine: return SS_ETCHEDVERT;
    case TBevelShape::bsSpacer: return 0;
    default: return SS_ETCHEDFRAME;
  }
}

// A bottom line lies along the lower edge of its area.
void PlaceBevel(const TControl& control, RECT& area) {
  if (static_cast<const TBevel&>(control).Shape() == TBevelShape::bsBottomLine) area.top = area.bottom - 2;
}

// A check box's state is the control's: set on every change.
void SyncCheck(TControl& control, HWND window) {
  SendMessageA(window, BM_SETCHECK,
               static_cast<TCustomCheckBox&>(control).Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SyncPages(TControl& control, HWND window) {
  auto& pages = static_cast<TPageControl&>(control);
  if (TabCtrl_GetItemCount(window) != pages.PageCount())
    SyncTabs(pages, window);
  else
    TabCtrl_SetCurSel(window, pages.ActivePageIndex());
}

constexpr DWORD kEditStyle = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kMemoStyle = WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
using enum TBackground;

// Derived classes before their ancestors (a memo is an edit).
const std::vector<TControlTraits>& Traits() {
  static const std::vector<TControlTraits> traits = {
      {&TButton::StaticClassInfo(), "BUTTON", WS_TABSTOP, 0, ButtonStyles, true, nullptr, bgParent, nullptr},
      {&TCustomCheckBox::StaticClassInfo(), "BUTTON", WS_TABSTOP | BS_CHECKBOX, 0, nullptr, true, SyncCheck,
       bgParent, nullptr},
      {&TCustomMemo::StaticClassInfo(), "EDIT", kMemoStyle, WS_EX_CLIENTEDGE, MemoStyles, true, nullptr,
       bgWindow, nullptr},
      {&TCustomEdit::StaticClassInfo(), "EDIT", kEditStyle, WS_EX_CLIENTEDGE, EditStyles, true, nullptr,
       bgWindow, nullptr},
      {&TCustomLabel::StaticClassInfo(), "STATIC", SS_NOTIFY, 0, LabelStyles, true, nullptr, bgParent,
       nullptr},
      {&TPageControl::StaticClassInfo(), WC_TABCONTROLA, WS_TABSTOP, 0, nullptr, false, SyncPages, bgParent,
       nullptr},
      {&TTabSheet::StaticClassInfo(), kContainerClass, 0, WS_EX_CONTROLPARENT, nullptr, false, nullptr,
       bgParent, nullptr},
      {&TPanel::StaticClassInfo(), kContainerClass, 0, WS_EX_CONTROLPARENT, nullptr, true, nullptr, bgParent,
       nullptr},
      {&TBevel::StaticClassInfo(), "STATIC", 0, 0, BevelStyles, false, nullptr, bgParent, PlaceBevel},
      {&TImage::StaticClassInfo(), "STATIC", SS_OWNERDRAW, 0, nullptr, false, nullptr, bgParent, nullptr},
  };
  return traits;
}

}  // namespace

const TControlTraits* TraitsOf(const TControl& control) {
  for (const TControlTraits& traits : Traits())
    if (control.InheritsFrom(*traits.Class)) return &traits;
  return nullptr;
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
  const TControlTraits* traits = TraitsOf(control);
  if (traits == nullptr) return nullptr;  // nothing a person sees
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | traits->Style;
  if (traits->Styles != nullptr) style |= traits->Styles(control);
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  RECT area{control.Left() + offset.x, control.Top() + offset.y, control.Left() + offset.x + control.Width(),
            control.Top() + offset.y + control.Height()};
  if (traits->Place != nullptr) traits->Place(control, area);
  const std::string text = traits->ShowsText ? control.Caption() : std::string();
  const int id = shown.NextId++;
  HWND window = CreateWindowExA(traits->ExStyle, traits->WindowClass, text.c_str(), style, area.left,
                                area.top, area.right - area.left, area.bottom - area.top, parentWindow,
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
      if (tabs != nullptr) SyncTabs(*pages, tabs);
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

void TWin32Backend::Sync(TShownForm& shown, TControl& control, HWND window) {
  syncing_ = true;
  // The form itself has no row: its caption is its window's text.
  const TControlTraits* traits = TraitsOf(control);
  if (traits == nullptr || traits->ShowsText) {
    const std::string text = control.Caption();
    char current[4096] = {};
    GetWindowTextA(window, current, sizeof current);
    if (text != current) SetWindowTextA(window, text.c_str());
  }
  if (traits != nullptr && traits->SyncState != nullptr) traits->SyncState(control, window);
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

}  // namespace tv::win32_detail
