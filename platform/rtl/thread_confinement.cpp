#include "platform/rtl/thread_confinement.h"

#include <cstdio>
#include <cstdlib>

namespace tv {

void TThreadConfinement::CheckThread() noexcept {
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id expected{};
  if (owner_.compare_exchange_strong(expected, self) || expected == self) return;
  std::fprintf(stderr, "%s used from a second thread; it belongs to the thread that used it first\n", what_);
  std::abort();
}

}  // namespace tv
