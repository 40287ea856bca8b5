#include "platform/system/files.h"

#include <gtest/gtest.h>

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
