// The windows' messages back to the framework: commands, colours,
// drawing, and the procedures of the backend's own window classes.
#include "platform/ui/win32/win32_internal.h"

#include <cstdint>

#include "platform/ui/ext_controls.h"
#include "platform/ui/std_controls.h"

namespace tv::win32_detail {

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
  const TControlTraits* traits = control != nullptr ? TraitsOf(*control) : nullptr;
  // Read-only edits ask as statics do; they keep the window colour.
  if (traits != nullptr && traits->Background == TBackground::bgWindow) {
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

}  // namespace tv::win32_detail
