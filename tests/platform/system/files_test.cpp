#include "platform/system/files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "tests/support/test_support.h"

namespace tv::sys {
namespace {

using test::ReadFileBytes;
using test::TTempDir;
using test::WriteFileBytes;

TEST(Files, ExistsAndDeleteConcernFilesNotFolders) {
  TTempDir dir;
  const std::string file = dir / "a.txt";
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(DeleteFileAt(file));  // nothing there: nothing left to delete
  WriteFileBytes(file, "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(DeleteFileAt(file));
  EXPECT_FALSE(FileExists(file));

  const std::string sub = dir.MakeSubdir("folder.~tv");
  EXPECT_FALSE(FileExists(sub));
  EXPECT_FALSE(FileExists(dir / "folder.~tv"));
  EXPECT_FALSE(DeleteFileAt(dir / "folder.~tv"));
  EXPECT_TRUE(test::PathExists(dir / "folder.~tv"));
}

TEST(Files, ExclusiveOpenShutsOutOtherWritersAndReaders) {
  TTempDir dir;
  const std::string path = dir / "log.txt";
  TFile first = TFile::Open(path, TFile::TOpenMode::ExclusiveOpenAlways);
  ASSERT_TRUE(first.IsOpen());
  EXPECT_FALSE(TFile::Open(path, TFile::TOpenMode::ExclusiveOpenAlways).IsOpen());
  EXPECT_FALSE(TFile::Open(path, TFile::TOpenMode::ReadDenyWrite).IsOpen());
  first.Close();
  EXPECT_TRUE(TFile::Open(path, TFile::TOpenMode::ReadDenyWrite).IsOpen());
}

TEST(Files, ReadersShareButShutOutWriters) {
  TTempDir dir;
  const std::string path = dir / "r.txt";
  WriteFileBytes(path, "abc");
  TFile reader = TFile::Open(path, TFile::TOpenMode::ReadDenyWrite);
  ASSERT_TRUE(reader.IsOpen());
  EXPECT_TRUE(TFile::Open(path, TFile::TOpenMode::ReadDenyWrite).IsOpen());
  EXPECT_FALSE(TFile::Open(path, TFile::TOpenMode::ExclusiveOpenAlways).IsOpen());
  EXPECT_EQ(ReadFileBytes(path), "abc");
}

TEST(Files, OpenAlwaysKeepsContentCreateAlwaysEmptiesIt) {
  TTempDir dir;
  const std::string path = dir / "f.txt";
  {
    TFile f = TFile::Open(path, TFile::TOpenMode::ExclusiveOpenAlways);
    ASSERT_TRUE(f.IsOpen());
    EXPECT_EQ(f.Write("one", 3), 3u);
  }
  {
    TFile f = TFile::Open(path, TFile::TOpenMode::ExclusiveOpenAlways);
    ASSERT_TRUE(f.SeekToEnd());
    EXPECT_EQ(f.Write("two", 3), 3u);
  }
  EXPECT_EQ(ReadFileBytes(path), "onetwo");
  {
    TFile f = TFile::Open(path, TFile::TOpenMode::ExclusiveCreateAlways);
    ASSERT_TRUE(f.IsOpen());
  }
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST(Files, FoldersAndMissingFilesDoNotOpenForReading) {
  TTempDir dir;
  EXPECT_FALSE(TFile::Open(dir / "missing", TFile::TOpenMode::ReadDenyWrite).IsOpen());
  dir.MakeSubdir("sub");
  EXPECT_FALSE(TFile::Open(dir / "sub", TFile::TOpenMode::ReadDenyWrite).IsOpen());
  std::string content = "unchanged";
  EXPECT_FALSE(ReadWholeFile(dir / "sub", content));
}

TEST(Files, ReadWholeFileKeepsEveryByte) {
  TTempDir dir;
  std::string bytes(200000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  WriteFileBytes(dir / "bin", bytes);
  std::string content;
  ASSERT_TRUE(ReadWholeFile(dir / "bin", content));
  EXPECT_EQ(content, bytes);
}

}  // namespace
}  // namespace tv::sys

namespace tv::sys {
namespace {

// Every spelling under which the system reaches one file counts as that
// file; on Windows that includes trailing blanks and dots and letter case.
const std::string kSep = test::OnWindows() ? "\\" : "/";

TEST(Files, SameFileUnderEveryNameTheSystemGivesIt) {
  TTempDir dir;
  const std::string file = dir / "x.~tv";
  WriteFileBytes(file, "attachment");
  WriteFileBytes(dir / "other", "x");
  dir.MakeSubdir("sub");
  std::filesystem::create_hard_link(file, dir / "hard");
  const bool windows = test::OnWindows();
  const struct {
    std::string Name;
    bool Same;
  } cases[] = {
      {file, true},
      {dir / "sub" + kSep + ".." + kSep + "x.~tv", true},
      {dir / "hard", true},
      {dir / "x.~tv ", windows},
      {dir / "x.~tv. .", windows},
      {dir / "X.~TV", windows},
      {dir / "other", false},
      {dir / "x.~tv.~tv", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(IsSameFile(c.Name, file), c.Same);
    EXPECT_EQ(IsSameFile(file, c.Name), c.Same);
  }
  EXPECT_FALSE(IsSameFile(dir / "missing", dir / "missing2"));
  if (!windows) {
    std::filesystem::create_symlink(file, dir / "link");
    EXPECT_TRUE(IsSameFile(dir / "link", file));
  }
}

// A program handed the resolved name reaches the file itself from any
// folder: links followed, relative parts gone, a missing file made absolute.
TEST(Files, ResolvedPathIsAbsoluteAndFollowsLinks) {
  TTempDir dir;
  const std::string file = dir / "x.txt";
  WriteFileBytes(file, "x");
  dir.MakeSubdir("sub");
  const std::string resolved = ResolvedPath(dir / "sub" + kSep + ".." + kSep + "x.txt");
  EXPECT_TRUE(IsSameFile(resolved, file));
  EXPECT_EQ(resolved.find(".."), std::string::npos);
  EXPECT_EQ(ResolvedPath(resolved), resolved);
  {
    test::TCurrentDir inside(dir.Path());
    EXPECT_TRUE(IsSameFile(ResolvedPath("x.txt"), file));
    const std::string missing = ResolvedPath("missing.txt");
    EXPECT_NE(missing, "missing.txt");
    EXPECT_EQ(missing.substr(missing.size() - 12), kSep + "missing.txt");
  }
  if (!test::OnWindows()) {
    std::filesystem::create_symlink(file, dir / "link");
    EXPECT_EQ(ResolvedPath(dir / "link"), resolved);
  }
}

// Each call makes a new, empty file of its own; none is ever reused.
TEST(Files, TempFilesAreNewAndDistinct) {
  std::vector<std::string> made;
  for (int i = 0; i < 20; ++i) {
    made.push_back(CreateTempFile("tvtest-"));
    ASSERT_FALSE(made.back().empty());
    EXPECT_TRUE(FileExists(made.back()));
    EXPECT_EQ(test::ReadFileBytes(made.back()), "");
    EXPECT_NE(made.back().find("tvtest-"), std::string::npos);
  }
  std::vector<std::string> sorted = made;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
  for (const std::string& path : made) EXPECT_TRUE(DeleteFileAt(path));
}

// A FIFO where a file should be (the settings, the log) is no file: every
// open fails at once instead of waiting for a writer or reader.
TEST(Files, AFifoIsNoFileAndNeverBlocks) {
  if (test::OnWindows()) GTEST_SKIP() << "FIFOs in the file system exist on POSIX only";
  TTempDir dir;
  const std::string fifo = dir / "tvvexal.log";
  ASSERT_EQ(std::system(("mkfifo '" + fifo + "'").c_str()), 0);
  for (const TFile::TOpenMode mode : {TFile::TOpenMode::ReadDenyWrite, TFile::TOpenMode::ExclusiveOpenAlways,
                                      TFile::TOpenMode::ExclusiveCreateAlways}) {
    const TFile file = TFile::Open(fifo, mode);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Error(), TOpenError::Failed);
  }
  std::string content = "stale";
  EXPECT_FALSE(ReadWholeFile(fifo, content));
  EXPECT_EQ(content, "");
}

// The scanner writes reports at paths beyond the classic 259 characters.
TEST(Files, LongPathsOpenReadAndDelete) {
  TTempDir dir;
  std::string folder = dir.Path();
  while (folder.size() < 300)
    folder = dir.MakeSubdir(folder.substr(dir.Path().size()) + std::string(40, 'd'));
  const std::string path = folder + "report.~tv";
  ASSERT_GT(path.size(), 300u);
  {
    TFile file = TFile::Open(path, TFile::TOpenMode::ExclusiveCreateAlways);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Write("line\r\n", 6), 6u);
  }
  EXPECT_TRUE(FileExists(path));
  std::string content;
  EXPECT_TRUE(ReadWholeFile(path, content));
  EXPECT_EQ(content, "line\r\n");
  EXPECT_TRUE(DeleteFileAt(path));
  EXPECT_FALSE(FileExists(path));
}

TEST(Files, FailedOpenTellsABusyFileFromAnImpossibleOne) {
  TTempDir dir;
  TFile holder = TFile::Open(dir / "log.txt", TFile::TOpenMode::ExclusiveOpenAlways);
  ASSERT_TRUE(holder.IsOpen());
  EXPECT_EQ(holder.Error(), TOpenError::None);
  EXPECT_EQ(TFile::Open(dir / "log.txt", TFile::TOpenMode::ExclusiveOpenAlways).Error(), TOpenError::Busy);
  EXPECT_EQ(TFile::Open(dir / "log.txt", TFile::TOpenMode::ReadDenyWrite).Error(), TOpenError::Busy);
  EXPECT_EQ(TFile::Open(dir / "no" + kSep + "log.txt", TFile::TOpenMode::ExclusiveOpenAlways).Error(),
            TOpenError::Failed);
  EXPECT_EQ(TFile::Open(dir / "missing.txt", TFile::TOpenMode::ReadDenyWrite).Error(), TOpenError::Failed);
}

}  // namespace
}  // namespace tv::sys
