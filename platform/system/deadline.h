#pragma once
// A time limit, told as the milliseconds left to it, for the waits of the
// system calls that take such a count.

#include <algorithm>
#include <chrono>
#include <cstdint>

namespace tv::sys {

// A wait that keeps the caller's windows painted (or its Idle running)
// sleeps at most this long before it looks again.
inline constexpr std::uint32_t kPaintSliceMs = 50;

class TDeadline {
 public:
  using TClock = std::chrono::steady_clock;

  // Timeout from now.
  explicit TDeadline(std::chrono::milliseconds timeout) : at_(TClock::now() + timeout) {}

  // Milliseconds left: 0 once it has passed, and never as many as the
  // count that means "wait forever" to the system (0xFFFFFFFF).
  std::uint32_t MillisecondsLeft() const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(at_ - TClock::now()).count();
    return static_cast<std::uint32_t>(std::clamp<std::chrono::milliseconds::rep>(left, 0, 0xFFFFFFFE));
  }
  // What is left, but at most one slice of a wait that keeps windows painted.
  std::uint32_t Slice() const { return std::min(MillisecondsLeft(), kPaintSliceMs); }
  bool Passed() const { return TClock::now() >= at_; }

 private:
  TClock::time_point at_;
};

}  // namespace tv::sys
