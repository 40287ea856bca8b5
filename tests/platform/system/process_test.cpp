#include "platform/system/process.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/system/program_search.h"
#include "tests/support/test_support.h"

namespace tv::sys {
namespace {

// Starts CommandLine, waits, and returns the exit code; -1 when it did not start.
long long RunCommand(const std::string& commandLine, int show = kSwHide) {
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  TProcessInfo info;
  if (!CreateChildProcess(buffer.data(), show, info)) return -1;
  while (MsgWaitForProcess(info) == kWaitMessages) DispatchPaintMessages();
  std::uint32_t code = GetProcessExitCode(info);
  CloseProcessHandles(info);
  return code;
}

class ProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::UnsetEnv("FAKESCAN_LOG");
    test::UnsetEnv("FAKESCAN_REPORT_FROM");
    test::UnsetEnv("FAKESCAN_EXIT");
  }
  void TearDown() override { SetUp(); }
};

TEST_F(ProcessTest, BareProgramNameIsFoundBesideTheHostExecutable) {
  test::SetEnv("FAKESCAN_EXIT", "7");
  EXPECT_EQ(RunCommand("fakescan x"), 7);
}

TEST_F(ProcessTest, ExitCodesPassThrough) {
  const std::string program = test::ProgramDirectory() + "fakescan";
  for (int code : {0, 1, 13, 200}) {
    test::SetEnv("FAKESCAN_EXIT", std::to_string(code));
    EXPECT_EQ(RunCommand(program + " x"), code);
  }
}

TEST_F(ProcessTest, MissingProgramIsNotStarted) {
  EXPECT_EQ(RunCommand("no-such-scanner-here.exe x"), -1);
  test::TTempDir dir;
  EXPECT_EQ(RunCommand(dir / "missing.exe x"), -1);
  EXPECT_EQ(RunCommand(dir.Path() + " x"), -1);  // a folder is no program
}

TEST_F(ProcessTest, ArgumentsArriveAsTheCommandLineQuotesThem) {
  test::TTempDir dir;
  const std::string log = dir / "args.txt";
  test::SetEnv("FAKESCAN_LOG", log);
  ASSERT_EQ(RunCommand("fakescan \"a b\" c\\\"d \"e\"\"f\""), 0);
  EXPECT_EQ(test::ReadFileBytes(log), "a b\nc\"d\ne\"f\nshow=0\n");
}

TEST_F(ProcessTest, ShowCommandReachesTheChild) {
  test::TTempDir dir;
  const std::string log = dir / "args.txt";
  test::SetEnv("FAKESCAN_LOG", log);
  ASSERT_EQ(RunCommand("fakescan", kSwShowNormal), 0);
  EXPECT_EQ(test::ReadFileBytes(log), "show=1\n");
  ASSERT_EQ(RunCommand("fakescan", kSwHide), 0);
  EXPECT_EQ(test::ReadFileBytes(log), "show=0\n");
}

TEST_F(ProcessTest, ProgramKilledBySignalCountsAsNonZero) {
  if (test::OnWindows()) GTEST_SKIP() << "signals exist on POSIX only";
  long long code = RunCommand("sh -c \"kill -9 $$\"");
  EXPECT_NE(code, 0);
  EXPECT_NE(code, -1);
}

// A wait with a time limit returns when the limit has passed, and the
// child that outlived it is ended; one that ends in time is waited for.
TEST_F(ProcessTest, TimedWaitRunsOutAndEndsTheChild) {
  const auto start = [](TProcessInfo& info) {
    std::string line = test::ProgramDirectory() + test::ProgramFile("fakeclam");
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    return CreateChildProcess(buffer.data(), kSwHide, info);
  };
  const auto wait = [](TProcessInfo& info, std::uint32_t ms) {
    std::uint32_t result;
    while ((result = MsgWaitForProcess(info, ms)) == kWaitMessages) DispatchPaintMessages();
    return result;
  };
  test::SetEnv("TV_FAKECLAM_SLEEP", "60");
  TProcessInfo sleeper;
  ASSERT_TRUE(start(sleeper));
  EXPECT_EQ(wait(sleeper, 300), kWaitTimedOut);
  EXPECT_EQ(GetProcessExitCode(sleeper), kStillActive);
  EXPECT_TRUE(EndChildProcess(sleeper));
  EXPECT_NE(GetProcessExitCode(sleeper), kStillActive);
  EXPECT_NE(GetProcessExitCode(sleeper), 0u);
  CloseProcessHandles(sleeper);
  test::UnsetEnv("TV_FAKECLAM_SLEEP");
  TProcessInfo quick;
  ASSERT_TRUE(start(quick));
  EXPECT_EQ(wait(quick, 60000), kWaitProcessEnded);
  EXPECT_EQ(GetProcessExitCode(quick), 0u);
  EXPECT_TRUE(EndChildProcess(quick));  // already gone: nothing to end
  CloseProcessHandles(quick);
}

}  // namespace
}  // namespace tv::sys

namespace tv::sys {
namespace {

// A bare name is searched beside the host, in the system's folders and on the
// search path, never in the current directory, where an attachment saved
// under the scanner's name would otherwise be run.
TEST(FindProgram, SearchesBesideTheHostAndTheSystemNeverTheCurrentDirectory) {
  test::TTempDir dir;
  const std::string sep = test::OnWindows() ? "\\" : "/";
  const std::string host = dir.MakeSubdir("host");
  const std::string current = dir.MakeSubdir("current");
  dir.MakeSubdir("host" + sep + "bin");
  const std::string fake = test::ProgramFile("fakescan");
  test::CopyProgram(fake, host, "prog.exe");
  test::CopyProgram(fake, host + "bin" + sep, "prog.exe");
  test::CopyProgram(fake, current, "stranger.exe");
  test::TCurrentDir inCurrent(current);
  const struct {
    std::string Name;
    std::string Found;
  } cases[] = {
      {"prog", host + "prog.exe"},
      {"prog.exe", host + "prog.exe"},
      {"bin" + sep + "prog.exe", host + "bin" + sep + "prog.exe"},
      {host + "bin" + sep + "prog", host + "bin" + sep + "prog.exe"},
      {"stranger.exe", ""},
      {"." + sep + "stranger.exe", ""},
      {"missing.exe", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(FindProgram(c.Name, host), c.Found);
  }
  if (test::OnWindows()) {
    EXPECT_EQ(FindProgram("C:prog.exe", host), "");  // relative to a drive's current directory
  }
  // Found in the system's folders or on the search path.
  const std::string shell = FindProgram(test::OnWindows() ? "cmd" : "sh", host);
  EXPECT_FALSE(shell.empty());
  EXPECT_EQ(search::Classify(shell), search::TNameKind::Rooted);
}

}  // namespace
}  // namespace tv::sys
