#include <dlfcn.h>

#include "platform/system/library.h"

namespace tv::sys {

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

void TLibrary::Unload() {
  if (handle_ != nullptr) ::dlclose(handle_);
  handle_ = nullptr;
}

}  // namespace tv::sys
