#include "plugin/scan_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/system/files.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using test::ReadFileBytes;
using test::TTempDir;

constexpr std::size_t kStampLength = 19;  // dd.mm.yyyy hh:nn:ss

TEST(ScanLog, TimeStampHasFixedWidthFieldsAndTheUsersSeparator) {
  EXPECT_EQ(FormatLogTimeStamp({2005, 3, 7, 9, 5, 3}, ":"), "07.03.2005 09:05:03");
  EXPECT_EQ(FormatLogTimeStamp({2026, 12, 31, 23, 59, 59}, "."), "31.12.2026 23.59.59");
  EXPECT_EQ(FormatLogTimeStamp({999, 1, 1, 0, 0, 0}, ":"), "01.01.0999 00:00:00");
}

TEST(ScanLog, FirstLineCreatesTheFileLaterLinesAreAppended) {
  TTempDir dir;
  WriteLog(dir.Path(), "ABC");
  WriteLog(dir.Path(), "second line");
  const std::string log = ReadFileBytes(dir / "tvvexal.log");
  ASSERT_EQ(log.size(), (kStampLength + 1 + 3 + 2) + (kStampLength + 1 + 11 + 2)) << log;
  const std::string first = log.substr(0, kStampLength + 6);
  EXPECT_EQ(first.substr(kStampLength), " ABC\r\n");
  EXPECT_EQ(first[2], '.');
  EXPECT_EQ(first[5], '.');
  EXPECT_EQ(first[10], ' ');
  EXPECT_EQ(first.substr(13, 1), sys::TimeSeparator());
  EXPECT_EQ(log.substr(log.size() - 14), " second line\r\n");
}

TEST(ScanLog, BytesAreWrittenAsTheyAre) {
  TTempDir dir;
  const std::string text = "C:\\IN\\\xE4rger.exe \x80 Found the \xFF\x01 virus";  // ä, €, ÿ
  WriteLog(dir.Path(), text);
  const std::string log = ReadFileBytes(dir / "tvvexal.log");
  EXPECT_EQ(log.substr(kStampLength), " " + text + "\r\n");
}

TEST(ScanLog, LineIsDroppedWhileAnotherHolderHasTheLog) {
  TTempDir dir;
  WriteLog(dir.Path(), "kept");
  const std::string before = ReadFileBytes(dir / "tvvexal.log");
  {
    sys::TFile holder = sys::TFile::Open(dir / "tvvexal.log", sys::TFile::TOpenMode::ExclusiveOpenAlways);
    ASSERT_TRUE(holder.IsOpen());
    WriteLog(dir.Path(), "lost");
  }
  EXPECT_EQ(ReadFileBytes(dir / "tvvexal.log"), before);
}

// Other checks hold the log for one line: a writer waits for them.
TEST(ScanLog, LineWaitsForABriefHolder) {
  TTempDir dir;
  std::atomic<bool> held{false};
  std::thread holder([&] {
    sys::TFile file = sys::TFile::Open(dir / "tvvexal.log", sys::TFile::TOpenMode::ExclusiveOpenAlways);
    held = file.IsOpen();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  });
  while (!held) std::this_thread::yield();
  WriteLog(dir.Path(), "waited");
  holder.join();
  EXPECT_EQ(ReadFileBytes(dir / "tvvexal.log").substr(kStampLength), " waited\r\n");
}

TEST(ScanLog, UnwritableFolderIsNoError) {
  TTempDir dir;
  WriteLog(dir.Path() + "missing" + (test::OnWindows() ? "\\" : "/"), "x");
  EXPECT_FALSE(test::PathExists(dir / "missing"));
}

}  // namespace
}  // namespace tv
