#pragma once
// Loading a shared library (a DLL on Windows) and finding its exports.

#include <cstdint>
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
  // Where the library lies in memory (0 when not loaded), for hosts that
  // check where a library is loaded again.
  std::uintptr_t Address() const;
  // Whether the library of Path is in this process's memory: after its last
  // Unload it must not be.
  static bool IsInMemory(const std::string& path);

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// Address space kept from use while the object lives, so that a library
// loaded meanwhile cannot go there.
class TAddressReservation {
 public:
  explicit TAddressReservation(std::uintptr_t address);
  ~TAddressReservation();
  TAddressReservation(const TAddressReservation&) = delete;
  TAddressReservation& operator=(const TAddressReservation&) = delete;
  // False when the place was taken already or the system refused.
  bool IsHeld() const { return held_ != nullptr; }

 private:
  void* held_ = nullptr;
};

}  // namespace tv::sys
