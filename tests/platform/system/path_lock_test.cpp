#include "platform/system/path_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/support/test_support.h"

namespace tv::sys {
namespace {

using namespace std::chrono_literals;

// Holds the lock of Path for a while in another thread, then tells whether a
// lock of Other, taken meanwhile, had to wait for the release.
bool WaitsForTheHolder(const std::string& path, const std::string& other) {
  std::atomic<bool> held{false}, released{false};
  std::thread holder([&] {
    TPathLock lock(path);
    held = lock.IsHeld();
    std::this_thread::sleep_for(300ms);
    released = true;
  });
  while (!held) std::this_thread::yield();
  bool waited;
  {
    TPathLock lock(other);
    EXPECT_TRUE(lock.IsHeld());
    waited = released;
  }
  holder.join();
  return waited;
}

TEST(PathLock, HoldersOfOneFileTakeTurnsOthersDoNot) {
  test::TTempDir dir;
  const std::string sep = test::OnWindows() ? "\\" : "/";
  const std::string report = dir / "x.~tv";
  dir.MakeSubdir("sub");
  EXPECT_TRUE(WaitsForTheHolder(report, report));
  EXPECT_TRUE(WaitsForTheHolder(report, dir / "sub" + sep + ".." + sep + "x.~tv"));
  if (test::OnWindows()) {
    EXPECT_TRUE(WaitsForTheHolder(report, dir / "X.~TV "));
  }
  EXPECT_FALSE(WaitsForTheHolder(report, dir / "y.~tv"));
  // The lock leaves nothing behind that a later holder would trip over.
  EXPECT_TRUE(WaitsForTheHolder(report, report));
}

}  // namespace
}  // namespace tv::sys
