// Operates another program's dialog through window messages, as
// accessibility tools do, reading one command per line from standard input
// and answering on standard output:
//
//   wait CAPTION [MS]     the top-level window of that caption becomes the one
//                         operated (it must appear within MS, default 60000:
//                         a host on a loaded machine takes long to start)
//   client | window       its client or window size: "client 404x441"
//   controls              each child window: CLASS@X,Y WxH "TEXT" [hidden]
//                         (X,Y in the client area)
//   text SEL | checked SEL | focus
//   type SEL TEXT         sets an edit's text
//   click SEL             clicks a button or check box
//   tab SEL INDEX         clicks the tab of that index
//   key NAME              escape, enter, ctrl+tab or alt+LETTER to the focus
//   shot FILE             the window's area of the screen as a PNG file;
//                         answers "shot WxH colours N"
//   gone [MS]             waits until the window is destroyed (default 60000)
//   enabled CAPTION       whether that top-level window takes input
//   sleep MS
//
// SEL is CLASS@X,Y. Texts are the system's ANSI bytes. Exit status: 0 all
// commands done, 1 a command failed (named on standard error).

#include <windows.h>
// after windows.h, which it builds on
#include <commctrl.h>

#include <cstdint>
#include <cstdio>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kDefaultLimit = 60000;  // milliseconds

HWND current = nullptr;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "ui_driver: %s\n", what.c_str());
  std::exit(1);
}

std::string ClassOf(HWND window) {
  char name[128] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  // Another process's window: WM_GETTEXT crosses processes, GetWindowText
  // would only read its caption.
  const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

POINT InClient(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  POINT origin{0, 0};
  ClientToScreen(current, &origin);
  return {rect.left - origin.x, rect.top - origin.y};
}

BOOL CALLBACK AddChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> Children() {
  std::vector<HWND> children;
  EnumChildWindows(current, AddChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::string Selector(HWND window) {
  const POINT at = InClient(window);
  return ClassOf(window) + "@" + std::to_string(at.x) + "," + std::to_string(at.y);
}

HWND Find(const std::string& selector) {
  for (HWND child : Children())
    if (Selector(child) == selector) return child;
  Fail("no control " + selector);
}

HWND Focused() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(current, nullptr), &info);
  return info.hwndFocus;
}

// --- PNG without a compressor: stored deflate blocks

std::uint32_t Crc(const std::string& bytes) {
  static std::uint32_t table[256];
  static bool ready = false;
  if (!ready) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    ready = true;
  }
  std::uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string Big(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

std::string Chunk(const std::string& type, const std::string& data) {
  return Big(static_cast<std::uint32_t>(data.size())) + type + data + Big(Crc(type + data));
}

std::string Png(int width, int height, const std::vector<std::uint32_t>& pixels) {
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back('\0');  // no filter
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y * width + x)];
      raw.push_back(static_cast<char>(p >> 16));
      raw.push_back(static_cast<char>(p >> 8));
      raw.push_back(static_cast<char>(p));
    }
  }
  std::string z = "\x78\x01";
  for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    const bool last = at + n >= raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<char>(n & 0xFF));
    z.push_back(static_cast<char>(n >> 8));
    z.push_back(static_cast<char>(~n & 0xFF));
    z.push_back(static_cast<char>((~n >> 8) & 0xFF));
    z.append(raw, at, n);
    if (last) break;
  }
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  z += Big(b << 16 | a);
  std::string header = Big(static_cast<std::uint32_t>(width)) + Big(static_cast<std::uint32_t>(height));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + Chunk("IDAT", z) + Chunk("IEND", "");
}

void Shot(const std::string& file) {
  RECT rect;
  GetWindowRect(current, &rect);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const auto* data = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(
      data, data + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::set<std::uint32_t> colours;
  for (std::uint32_t p : pixels) colours.insert(p & 0xFFFFFF);
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) Fail("cannot write " + file);
  const std::string png = Png(width, height, pixels);
  std::fwrite(png.data(), 1, png.size(), out);
  std::fclose(out);
  std::printf("shot %dx%d colours %zu\n", width, height, colours.size());
}

void Key(const std::string& name) {
  HWND target = Focused() != nullptr ? Focused() : current;
  if (name == "escape" || name == "enter") {
    const WPARAM key = name == "escape" ? VK_ESCAPE : VK_RETURN;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  } else if (name == "ctrl+tab") {
    // The key state travels with the input, not with a posted message.
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, VK_TAB, VK_TAB, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
      keys[i].type = INPUT_KEYBOARD;
      keys[i].ki.wVk = codes[i];
      keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SetForegroundWindow(current);
    SendInput(4, keys, sizeof(INPUT));
  } else if (name.rfind("alt+", 0) == 0 && name.size() == 5) {
    PostMessageA(target, WM_SYSCHAR, static_cast<WPARAM>(name[4]), 1 << 29);
  } else {
    Fail("no key " + name);
  }
  Sleep(300);
}

bool Run(const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  std::string rest;
  std::getline(words, rest);
  if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
  if (command.empty()) return true;
  if (command == "wait") {
    std::string caption = rest;
    DWORD limit = kDefaultLimit;
    if (const auto blank = rest.rfind(' ');
        blank != std::string::npos && rest.find_first_not_of("0123456789", blank + 1) == std::string::npos) {
      caption = rest.substr(0, blank);
      limit = static_cast<DWORD>(std::stoul(rest.substr(blank + 1)));
    }
    const DWORD end = GetTickCount() + limit;
    while ((current = FindWindowA(nullptr, caption.c_str())) == nullptr || !IsWindowVisible(current)) {
      if (GetTickCount() > end) Fail("no window \"" + caption + "\"");
      Sleep(100);
    }
    Sleep(500);  // painted
    std::printf("found\n");
    return true;
  }
  if (current == nullptr) Fail("no window to " + command);
  if (command == "client" || command == "window") {
    RECT rect;
    command == "client" ? GetClientRect(current, &rect) : GetWindowRect(current, &rect);
    std::printf("%s %ldx%ld\n", command.c_str(), rect.right - rect.left, rect.bottom - rect.top);
  } else if (command == "controls") {
    for (HWND child : Children()) {
      RECT rect;
      GetWindowRect(child, &rect);
      std::printf("%s %ldx%ld \"%s\"%s\n", Selector(child).c_str(), rect.right - rect.left,
                  rect.bottom - rect.top, TextOf(child).c_str(), IsWindowVisible(child) ? "" : " hidden");
    }
  } else if (command == "text") {
    std::printf("%s\n", TextOf(Find(rest)).c_str());
  } else if (command == "checked") {
    std::printf("%s\n", SendMessageA(Find(rest), BM_GETCHECK, 0, 0) == BST_CHECKED ? "checked" : "unchecked");
  } else if (command == "focus") {
    HWND focus = Focused();
    std::printf("%s\n", focus != nullptr ? Selector(focus).c_str() : "none");
  } else if (command == "type") {
    const auto blank = rest.find(' ');
    SendMessageA(Find(rest.substr(0, blank)), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(blank == std::string::npos ? "" : rest.c_str() + blank + 1));
  } else if (command == "click") {
    // A click that opens another dialog returns only when that one closes:
    // after a while the driver goes on to operate it.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(Find(rest), BM_CLICK, 0, 0, SMTO_NORMAL, 1500, &result);
  } else if (command == "tab") {
    const auto blank = rest.find(' ');
    HWND tabs = Find(rest.substr(0, blank));
    RECT item{};
    // The item's rectangle lives in the other process: asked for by the
    // position of the tabs instead, which lie left to right from the corner.
    const int index = std::stoi(rest.substr(blank + 1));
    const int count = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    if (index < 0 || index >= count) Fail("no tab " + std::to_string(index));
    (void)item;
    SendMessageA(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
    Sleep(200);
  } else if (command == "key") {
    Key(rest);
  } else if (command == "shot") {
    Shot(rest);
  } else if (command == "gone") {
    const DWORD end = GetTickCount() + (rest.empty() ? kDefaultLimit : static_cast<DWORD>(std::stoul(rest)));
    while (IsWindow(current)) {
      if (GetTickCount() > end) Fail("the window is still there");
      Sleep(100);
    }
    std::printf("gone\n");
    current = nullptr;
  } else if (command == "enabled") {
    HWND window = FindWindowA(nullptr, rest.c_str());
    if (window == nullptr) Fail("no window \"" + rest + "\"");
    std::printf("%s %s\n", rest.c_str(), IsWindowEnabled(window) ? "enabled" : "disabled");
  } else if (command == "sleep") {
    Sleep(static_cast<DWORD>(std::stoul(rest)));
  } else {
    Fail("no command " + command);
  }
  return true;
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Run(line);
    std::fflush(stdout);
  }
  return 0;
}
