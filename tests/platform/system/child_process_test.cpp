// A child process as an owner: its output through a pipe, its bound, its
// time limit, and a start that fails.

#include "platform/system/child_process.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace tv::sys {
namespace {

using TEnd = TChildProcess::TEnd;

class ChildProcessTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (const char* name :
         {"FAKESCAN_PRINT", "FAKESCAN_TIMES", "FAKESCAN_PRINT_ERR", "FAKESCAN_EXIT", "TV_FAKECLAM_SLEEP"})
      test::UnsetEnv(name);
  }
  static std::string Program(const char* name) { return test::ProgramDirectory() + test::ProgramFile(name); }
};

TEST(Deadline, MillisecondsLeftAreClampedAndSlicedForPaintedWaits) {
  const struct {
    std::chrono::milliseconds Timeout;
    std::uint32_t AtLeast, AtMost, Slice;
    bool Passed;
  } cases[] = {
      {std::chrono::milliseconds(0), 0, 0, 0, true},
      {std::chrono::milliseconds(-5), 0, 0, 0, true},
      {std::chrono::milliseconds(20), 0, 20, 20, false},
      {std::chrono::seconds(10), 9000, 10000, kPaintSliceMs, false},
      {std::chrono::hours(24 * 365), 0xFFFFFFFE, 0xFFFFFFFE, kPaintSliceMs, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Timeout.count());
    const TDeadline deadline(c.Timeout);
    const std::uint32_t left = deadline.MillisecondsLeft();
    EXPECT_GE(left, c.AtLeast);
    EXPECT_LE(left, c.AtMost);
    EXPECT_LE(deadline.Slice(), c.Slice);
    if (c.Passed) {
      EXPECT_TRUE(deadline.Passed());
    }
    if (c.Timeout > std::chrono::seconds(1)) {
      EXPECT_FALSE(deadline.Passed());
    }
  }
}

// Standard output and error arrive through one pipe, whole, and the exit
// code after them; without a pipe nothing is kept.
TEST_F(ChildProcessTest, OutputAndErrorArriveThroughThePipe) {
  test::SetEnv("FAKESCAN_PRINT", "Scanning x found no threats.\n");
  test::SetEnv("FAKESCAN_PRINT_ERR", "warning\n");
  test::SetEnv("FAKESCAN_EXIT", "2");
  TChildProcess piped(Program("fakescan"), kSwHide, 1 << 20);
  ASSERT_TRUE(piped.Started());
  EXPECT_EQ(piped.Wait(), TEnd::Ended);
  EXPECT_EQ(piped.ExitCode(), 2u);
  // (A Windows program's text output ends its lines with CR LF.)
  EXPECT_NE(piped.Output().find("Scanning x found no threats."), std::string::npos) << piped.Output();
  EXPECT_NE(piped.Output().find("warning"), std::string::npos) << piped.Output();

  TChildProcess plain(Program("fakescan"), kSwHide);
  ASSERT_TRUE(plain.Started());
  EXPECT_EQ(plain.Wait(), TEnd::Ended);
  EXPECT_EQ(plain.Output(), "");
}

// A flood ends the wait at the bound with exactly the bound kept; the
// child is then ended on request.
TEST_F(ChildProcessTest, OutputBeyondItsBoundEndsTheWait) {
  test::SetEnv("FAKESCAN_PRINT", std::string(1000, 'x') + "\n");
  test::SetEnv("FAKESCAN_TIMES", "100000");
  TChildProcess flood(Program("fakescan"), kSwHide, 65536);
  ASSERT_TRUE(flood.Started());
  const TDeadline limit(std::chrono::seconds(60));
  EXPECT_EQ(flood.Wait(&limit), TEnd::OutputOverflowed);
  EXPECT_EQ(flood.Output().size(), 65536u);
  EXPECT_TRUE(flood.End());
  EXPECT_NE(flood.ExitCode(), kStillActive);
}

// The time limit ends the wait, piped or not; a moved process is the new
// owner's to end.
TEST_F(ChildProcessTest, TheDeadlineEndsTheWaitAndTheChildIsEndedOnRequest) {
  test::SetEnv("TV_FAKECLAM_SLEEP", "60");
  for (const std::optional<std::size_t> keep :
       {std::optional<std::size_t>(), std::optional<std::size_t>(4096)}) {
    TChildProcess sleeper(Program("fakeclam"), kSwHide, keep);
    ASSERT_TRUE(sleeper.Started());
    TChildProcess owner = std::move(sleeper);
    EXPECT_FALSE(sleeper.Started());
    const TDeadline limit(std::chrono::milliseconds(300));
    EXPECT_EQ(owner.Wait(&limit), TEnd::TimedOut);
    EXPECT_EQ(owner.ExitCode(), kStillActive);
    EXPECT_TRUE(owner.End());
    EXPECT_NE(owner.ExitCode(), kStillActive);
  }
}

TEST_F(ChildProcessTest, AProgramThatCannotStartIsNoProcess) {
  test::TTempDir dir;
  for (const std::string& line :
       {dir / "missing.exe x", Program("fakescan") + " " + std::string(kMaxCommandLine, 'a')}) {
    TChildProcess none(line, kSwHide, 100);
    EXPECT_FALSE(none.Started());
    EXPECT_EQ(none.Wait(), TEnd::Failed);
    EXPECT_EQ(none.ExitCode(), kStillActive);
    EXPECT_FALSE(none.End());
  }
}

}  // namespace
}  // namespace tv::sys
