#pragma once
// For state that only the thread of the dialogs uses and that is therefore
// not guarded (the data engine's registries, which the translator fills
// while a dialog is made on the host's UI thread): debug builds check that
// every use comes from the thread of the first one, and stop the program
// at the first that does not, naming the state. Release builds check
// nothing.

#include <atomic>
#include <thread>

namespace tv {

class TThreadConfinement {
 public:
  explicit TThreadConfinement(const char* what) : what_(what) {}
  TThreadConfinement(const TThreadConfinement&) = delete;
  TThreadConfinement& operator=(const TThreadConfinement&) = delete;

  void Check() noexcept {
#ifndef NDEBUG
    CheckThread();
#endif
  }

 private:
  void CheckThread() noexcept;

  const char* what_;
  std::atomic<std::thread::id> owner_{};
};

}  // namespace tv
