#pragma once
// Loading a shared library (a DLL on Windows) and finding its exports.

#include <string>

namespace tv::sys {

class TLibrary {
 public:
  TLibrary() = default;
  TLibrary(TLibrary&& other) noexcept;
  TLibrary& operator=(TLibrary&& other) noexcept;
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;
  ~TLibrary();

  // On failure the library is not loaded and Error() says why.
  static TLibrary Load(const std::string& path);

  bool IsLoaded() const { return handle_ != nullptr; }
  const std::string& Error() const { return error_; }
  // The export's address, or null when the library lacks it.
  void* Symbol(const std::string& name) const;
  void Unload();
  // The library stays loaded until the process ends, as a host keeps its
  // plug-ins; this object forgets it.
  void KeepLoaded() { handle_ = nullptr; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace tv::sys
