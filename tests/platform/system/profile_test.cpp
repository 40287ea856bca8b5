#include "platform/system/profile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system/profile_text.h"
#include "tests/support/test_support.h"

namespace tv::sys {
namespace {

using test::ReadFileBytes;
using test::TTempDir;
using test::WriteFileBytes;

using namespace std::string_literals;

constexpr std::size_t kBuffer = 2048;

std::string Read(const std::string& text, const std::string& section, const std::string& key,
                 const std::string& defaultValue = "DEF") {
  TTempDir dir;
  WriteFileBytes(dir / "p.ini", text);
  return GetProfileValue(dir / "p.ini", section, key, defaultValue, kBuffer);
}

TEST(Profile, NamesCompareCaseInsensitivelyAndTrimmed) {
  const std::string text = "[Tevrin.bav]\r\n  scanner   =   C:\\McAfee\\scan.exe   \r\nHIDE=0\r\n";
  EXPECT_EQ(Read(text, "tevrin.BAV", "Scanner"), "C:\\McAfee\\scan.exe");
  EXPECT_EQ(Read(text, "TEVRIN.BAV", "hide"), "0");
  EXPECT_EQ(Read(text, "tevrin.BAV", "Options"), "DEF");
  EXPECT_EQ(Read(text, "other", "Scanner"), "DEF");
}

TEST(Profile, OnePairOfSurroundingQuotesIsRemoved) {
  const std::string text =
      "[s]\r\nd=\"Found the "
      "\"\r\ns='single'\r\nn=\"\"\"x\"\"\"\r\nhalf=\"open\r\nlone=\"\r\nmixed=\"a'\r\ninner=a \"b\" c\r\n";
  EXPECT_EQ(Read(text, "s", "d"), "Found the ");
  EXPECT_EQ(Read(text, "s", "s"), "single");
  EXPECT_EQ(Read(text, "s", "n"), "\"\"x\"\"");
  EXPECT_EQ(Read(text, "s", "half"), "\"open");
  EXPECT_EQ(Read(text, "s", "lone"), "\"");
  EXPECT_EQ(Read(text, "s", "mixed"), "\"a'");
  EXPECT_EQ(Read(text, "s", "inner"), "a \"b\" c");
}

TEST(Profile, DefaultLosesItsTrailingBlanksButAnEmptyValueIsKept) {
  EXPECT_EQ(Read("", "s", "FoundTag", "Found the "), "Found the");
  EXPECT_EQ(Read("[s]\r\nFoundTag=\r\n", "s", "FoundTag", "Found the "), "");
  EXPECT_EQ(Read("[s]\r\nFoundTag=   \r\n", "s", "FoundTag", "Found the "), "");
  TTempDir dir;
  EXPECT_EQ(GetProfileValue(dir / "missing.ini", "s", "k", "  x  ", kBuffer), "  x");
  EXPECT_EQ(GetProfileValue(dir / "missing.ini", "s", "k", "\"Found the \"", kBuffer), "Found the ");
}

TEST(Profile, FirstSectionAndFirstKeyWin) {
  const std::string text = "[s]\r\nk=1\r\nk=2\r\n[t]\r\nk=3\r\n[S]\r\nk=4\r\nj=5\r\n";
  EXPECT_EQ(Read(text, "s", "k"), "1");
  EXPECT_EQ(Read(text, "t", "k"), "3");
  EXPECT_EQ(Read(text, "s", "j"), "DEF");  // only the first [s] is searched
}

TEST(Profile, LinesWithoutValueAndCommentsAreNoValues) {
  const std::string text = "; comment\r\n[s]\r\n;k=commented\r\nk\r\nk=late\r\nx=1\r\n";
  EXPECT_EQ(Read(text, "s", "k"), "DEF");
  EXPECT_EQ(Read(text, "s", "x"), "1");
  EXPECT_EQ(Read(text, "s", ";k"), "commented");
}

TEST(Profile, AcceptsBareLineFeedsAndAMissingLastLineEnd) {
  EXPECT_EQ(Read("[s]\nk=lf\nj=end", "s", "k"), "lf");
  EXPECT_EQ(Read("[s]\nk=lf\nj=end", "s", "j"), "end");
  EXPECT_EQ(Read("  [ s ]  \r\nk=v\r\n", "s", "k"), "v");
}

// As the system reader does: a CR alone ends a line, and a NUL ends the
// name or value it stands in (quotes are judged on what is left).
TEST(Profile, CrEndsALineAndNulEndsANameOrValue) {
  const struct {
    std::string Text;
    const char* Section;
    const char* Key;
    const char* Expected;
  } cases[] = {
      {"[s]\rk=cr\rj=2\r", "s", "j", "2"},          {"[s]\rk=1\r\nj=2\rl=3\n", "s", "l", "3"},
      {"[s]\rk=1\r[t]\rk=3\r", "t", "k", "3"},      {"[s]\r\nk=x\0y\r\nj=2\r\n"s, "s", "k", "x"},
      {"[s]\r\nk=x\0y\r\nj=2\r\n"s, "s", "j", "2"}, {"[s]\r\nk=\"q\0r\"\r\n"s, "s", "k", "\"q"},
      {"[s]\r\nk= p \0 z \r\n"s, "s", "k", "p "},   {"[s]\r\nk\0x=1\r\nk=2\r\n"s, "s", "k", "1"},
      {"[s\0t]\r\nk=1\r\n"s, "s", "k", "1"},        {"[s]\r\n\0k=1\r\n"s, "s", "k", "DEF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Text) + " " + c.Key);
    EXPECT_EQ(Read(c.Text, c.Section, c.Key), c.Expected);
  }
}

TEST(Profile, SeveralKeysReadAsOneByOne) {
  TTempDir dir;
  const std::string path = dir / "p.ini";
  WriteFileBytes(path, "[s]\r\na=1\r\nc=\"3 \"\r\n");
  const std::vector<TProfileKey> keys{{"A", "x"}, {"b", "two  "}, {"c", ""}};
  EXPECT_EQ(GetProfileValues(path, "S", keys, kBuffer), (std::vector<std::string>{"1", "two", "3 "}));
  EXPECT_EQ(GetProfileValues(dir / "none.ini", "s", keys, 3), (std::vector<std::string>{"x", "tw", ""}));
}

TEST(Profile, ValueIsCutToTheBuffer) {
  TTempDir dir;
  WriteFileBytes(dir / "p.ini", "[s]\r\nk=" + std::string(3000, 'v') + "\r\n");
  EXPECT_EQ(GetProfileValue(dir / "p.ini", "s", "k", "", kBuffer), std::string(2047, 'v'));
  EXPECT_EQ(GetProfileValue(dir / "p.ini", "s", "k", "", 4), "vvv");
}

TEST(Profile, FirstWriteCreatesTheFile) {
  TTempDir dir;
  const std::string path = dir / "new.ini";
  ASSERT_TRUE(SetProfileValue(path, "tevrin.BAV", "Scanner", "C:\\Program Files\\scan.exe"));
  EXPECT_EQ(GetProfileValue(path, "tevrin.BAV", "Scanner", "", kBuffer), "C:\\Program Files\\scan.exe");
  ASSERT_TRUE(SetProfileValue(path, "tevrin.BAV", "Hide", "0"));
  EXPECT_EQ(GetProfileValue(path, "tevrin.BAV", "Hide", "", kBuffer), "0");
  EXPECT_EQ(GetProfileValue(path, "tevrin.BAV", "Scanner", "", kBuffer), "C:\\Program Files\\scan.exe");
}

TEST(Profile, WriteKeepsOtherLinesKeysAndComments) {
  TTempDir dir;
  const std::string path = dir / "p.ini";
  WriteFileBytes(path,
                 "; mine\r\n[other]\r\na=1\r\n\r\n[tevrin.BAV]\r\nFoundTag=Infected: "
                 "\r\nHide=1\r\n\r\n[last]\r\nz=9\r\n");
  ASSERT_TRUE(SetProfileValue(path, "tevrin.BAV", "Hide", "0"));
  ASSERT_TRUE(SetProfileValue(path, "tevrin.BAV", "Scanner", "scan.exe"));
  // Windows may re-lay the file out (blank lines, blanks at line ends); what
  // must survive is every other line and value.
  const std::string text = ReadFileBytes(path);
  EXPECT_EQ(text.rfind("; mine\r\n", 0), 0u) << text;
  EXPECT_EQ(GetProfileValue(path, "tevrin.BAV", "FoundTag", "", kBuffer), "Infected:");
  EXPECT_EQ(GetProfileValue(path, "tevrin.BAV", "Hide", "", kBuffer), "0");
  EXPECT_EQ(GetProfileValue(path, "tevrin.BAV", "Scanner", "", kBuffer), "scan.exe");
  EXPECT_EQ(GetProfileValue(path, "last", "z", "", kBuffer), "9");
  EXPECT_EQ(GetProfileValue(path, "other", "a", "", kBuffer), "1");
}

TEST(Profile, WriteIntoAMissingFolderFails) {
  TTempDir dir;
  EXPECT_FALSE(SetProfileValue(dir / "no-such-folder/p.ini", "s", "k", "v"));
}

// The text rules on their own, byte for byte: what the POSIX build writes.
TEST(ProfileText, SetValueReplacesInsertsAndAppends) {
  using profile::SetValue;
  EXPECT_EQ(SetValue("", "s", "k", "v"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(SetValue("[a]\nx=1", "s", "k", "v"), "[a]\nx=1\r\n[s]\r\nk=v\r\n");
  EXPECT_EQ(SetValue("[S]\r\n K = old \r\nj=2\r\n", "s", "k", "new"), "[S]\r\nK=new\r\nj=2\r\n");
  EXPECT_EQ(SetValue("[s]\nk=old\n", "s", "k", "new"), "[s]\nk=new\n");
  EXPECT_EQ(SetValue("[s]\r\na=1\r\n\r\n[t]\r\n", "s", "k", "v"), "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\n");
  EXPECT_EQ(SetValue("[s]\r\na=1", "s", "k", "v"), "[s]\r\na=1\r\nk=v\r\n");
  EXPECT_EQ(SetValue("[s]\r\n", "s", "k", "v"), "[s]\r\nk=v\r\n");
  EXPECT_EQ(SetValue("[s]\ra=1\r[t]\r", "s", "a", "2"), "[s]\ra=2\r[t]\r");
  EXPECT_EQ(SetValue("[s]\ra=1\r[t]\r", "s", "k", "v"), "[s]\ra=1\rk=v\r\n[t]\r");
}

// On Windows the system's reader and the text rules must agree on the same
// files and calls; on POSIX this checks the file plumbing of the same rules.
TEST(ProfileText, AgreesWithTheSystemReader) {
  const std::string files[] = {
      "[tevrin.BAV]\r\nScanner=C:\\Program Files\\scan.exe\r\nHide= 0x1 \r\nOptions=\r\nFoundTag=\"Found the "
      "\"\r\n",
      "[TEVRIN.BAV]\nscanner =  'x'  \nhide\nFoundTag='a\"\n",
      "[other]\r\nScanner=no\r\n[tevrin.BAV]\r\n  Options = /MIME\t\r\n[tevrin.bav]\r\nHide=1\r\n",
      "Scanner=outside\r\n[tevrin.BAV]\r\n;Hide=0\r\nFoundTag=\"\"\r\n",
      "[tevrin.BAV]\r\nScanner=first\r\nSCANNER=second\r\nHide=\r\n\r\n\r\nOptions=\"/A\" \"/B\"\r\n",
      "; only a comment\r\n[missing section\r\nScanner=x\r\n",
      "[tevrin.BAV]\r\n  Scanner  =  \"  spaced  \"  \r\nOptions='\r\nFoundTag=Found the   \r\n",
      "",
      "[tevrin.BAV]\r\nScanner=C:\\scan\0.exe\r\nHide=0\0 1\r\nOptions=\"/A\0\"\r\nFoundTag= F \0 x \r\n"s,
      "[tevrin.BAV]\rScanner=cr\rHide=0\r[other]\rOptions=no\r\n[tevrin.bav]\nFoundTag=mixed\n",
      "[tevrin.BAV\0x]\r\nSca\0nner=k\r\nScanner=v\r\n"s,
  };
  const char* sections[] = {"tevrin.BAV", "TEVRIN.bav", "nowhere"};
  const char* keys[] = {"Scanner", "Hide", "Options", "FoundTag", "Missing"};
  const char* defaults[] = {"Found the ", "\"Found the \"", "'x'", "  lead", "", "tail  \t", "\""};
  TTempDir dir;
  int n = 0;
  for (const std::string& text : files) {
    const std::string path = dir / ("cmp" + std::to_string(n++) + ".ini");
    WriteFileBytes(path, text);
    for (const char* section : sections) {
      for (const char* key : keys) {
        for (const char* defaultValue : defaults) {
          SCOPED_TRACE(testing::PrintToString(text) + " [" + section + "] " + key + " default " +
                       defaultValue);
          std::optional<std::string> value = profile::FindValue(text, section, key);
          EXPECT_EQ(GetProfileValue(path, section, key, defaultValue, kBuffer),
                    value ? *value : profile::EffectiveDefault(defaultValue));
        }
      }
    }
  }
}

}  // namespace
}  // namespace tv::sys

namespace tv::sys {
namespace {

// A read-only settings file is refused as Windows refuses it, and stays as
// it is; a writable one that is rewritten keeps its permissions.
TEST(Profile, AReadOnlyFileIsNeverReplacedAndAWritableOneKeepsItsMode) {
  namespace fs = std::filesystem;
  TTempDir dir;
  const std::string locked = dir / "locked.ini", open = dir / "open.ini";
  test::WriteFileBytes(locked, "[S]\r\nK=old\r\n");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(SetProfileValue(locked, "S", "K", "new"));
  EXPECT_EQ(test::ReadFileBytes(locked), "[S]\r\nK=old\r\n");
  EXPECT_EQ(GetProfileValue(locked, "S", "K", "", 100), "old");
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);  // for the folder's removal
  if (test::OnWindows()) return;                                           // Windows keeps no mode bits
  test::WriteFileBytes(open, "[S]\r\nK=old\r\n");
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(open, mode);
  EXPECT_TRUE(SetProfileValue(open, "S", "K", "new"));
  EXPECT_EQ(GetProfileValue(open, "S", "K", "", 100), "new");
  EXPECT_EQ(fs::status(open).permissions(), mode);
}

}  // namespace
}  // namespace tv::sys
