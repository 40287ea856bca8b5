#include <windows.h>

#include "platform/system/library.h"

namespace tv::sys {

namespace {

std::string LastErrorText() {
  DWORD code = ::GetLastError();
  char* text = nullptr;
  DWORD got = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = got > 0 && text != nullptr ? std::string(text, got) : "error " + std::to_string(code);
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message;
}

}  // namespace

TLibrary TLibrary::Load(const std::string& path) {
  TLibrary library;
  library.handle_ = ::LoadLibraryA(path.c_str());
  if (library.handle_ == nullptr) library.error_ = LastErrorText();
  return library;
}

void* TLibrary::Symbol(const std::string& name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name.c_str()));
}

std::uintptr_t TLibrary::Address() const {
  return reinterpret_cast<std::uintptr_t>(handle_);  // a module's handle is its base
}

bool TLibrary::IsInMemory(const std::string& path) {
  return ::GetModuleHandleA(path.c_str()) != nullptr;
}

// The start of the image is enough: a library is mapped whole or elsewhere.
TAddressReservation::TAddressReservation(std::uintptr_t address) {
  void* wanted = reinterpret_cast<void*>(address);
  held_ = ::VirtualAlloc(wanted, 64 * 1024, MEM_RESERVE, PAGE_NOACCESS);
  if (held_ != nullptr && held_ != wanted) {
    ::VirtualFree(held_, 0, MEM_RELEASE);
    held_ = nullptr;
  }
}

TAddressReservation::~TAddressReservation() {
  if (held_ != nullptr) ::VirtualFree(held_, 0, MEM_RELEASE);
}

void TLibrary::Unload() {
  if (handle_ != nullptr) ::FreeLibrary(static_cast<HMODULE>(handle_));
  handle_ = nullptr;
}

}  // namespace tv::sys
