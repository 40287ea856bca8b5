#include <dlfcn.h>
#include <link.h>
#include <sys/mman.h>

#include "platform/system/library.h"

namespace tv::sys {

namespace {
constexpr std::size_t kPage = 4096;
}  // namespace

TLibrary TLibrary::Load(const std::string& path) {
  TLibrary library;
  // A bare name would send dlopen to the system's search path; a plug-in is
  // always named by its path.
  const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  library.handle_ = ::dlopen(where.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library.handle_ == nullptr) {
    const char* why = ::dlerror();
    library.error_ = why != nullptr ? why : "cannot load " + path;
  }
  return library;
}

void* TLibrary::Symbol(const std::string& name) const {
  return handle_ != nullptr ? ::dlsym(handle_, name.c_str()) : nullptr;
}

std::uintptr_t TLibrary::Address() const {
  const link_map* map = nullptr;
  if (handle_ == nullptr || ::dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return 0;
  return static_cast<std::uintptr_t>(map->l_addr);
}

bool TLibrary::IsInMemory(const std::string& path) {
  const std::string where = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = ::dlopen(where.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle == nullptr) return false;
  ::dlclose(handle);
  return true;
}

// One page is enough: a library is mapped whole or elsewhere.
TAddressReservation::TAddressReservation(std::uintptr_t address) {
  void* wanted = reinterpret_cast<void*>(address);
  void* got = ::mmap(wanted, kPage, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
  if (got == MAP_FAILED) return;
  if (got != wanted) {
    ::munmap(got, kPage);
    return;
  }
  held_ = got;
}

TAddressReservation::~TAddressReservation() {
  if (held_ != nullptr) ::munmap(held_, kPage);
}

void TLibrary::Unload() {
  if (handle_ != nullptr) ::dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace tv::sys
