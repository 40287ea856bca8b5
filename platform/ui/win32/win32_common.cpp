// The common dialogs and the module's icons, and what every window of the
// backend needs: its module, the system's colours, the themed controls.
#include "platform/ui/win32/win32_internal.h"

#include <algorithm>

#include "platform/ui/dialogs.h"

namespace tv::win32_detail {

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

TActivation::TActivation() {
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

TActivation::~TActivation() {
  if (handle_ == INVALID_HANDLE_VALUE) return;
  DeactivateActCtx(0, cookie_);
  ReleaseActCtx(handle_);
}

bool TWin32Backend::ExecuteOpenDialog(TOpenDialog& dialog) {
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

}  // namespace tv::win32_detail
