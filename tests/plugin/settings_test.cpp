#include "plugin/settings.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using test::ReadFileBytes;
using test::TTempDir;
using test::WriteFileBytes;

void WriteSettingsFile(const TTempDir& dir, const std::string& body) {
  WriteFileBytes(dir / "tvvexal.ini", "[tevrin.BAV]\r\n" + body);
}

TEST(Settings, MissingFileGivesEveryDefault) {
  TTempDir dir;
  TPluginSettings s = ReadScanSettings(dir.Path());
  EXPECT_EQ(s.Scanner, "scan.exe");
  EXPECT_TRUE(s.Hide);
  EXPECT_EQ(s.Options, "/MIME /UNZIP");
  // The profile reader drops the default's trailing blank.
  EXPECT_EQ(s.FoundTag, "Found the");
}

TEST(Settings, ValuesAreTakenAsTheReaderGivesThem) {
  TTempDir dir;
  WriteSettingsFile(
      dir,
      "Scanner=C:\\Program Files\\McAfee\\scan.exe\r\nOptions=/ALL  /NOMEM\r\nFoundTag=\"Found the \"\r\n");
  TPluginSettings s = ReadScanSettings(dir.Path());
  EXPECT_EQ(s.Scanner, "C:\\Program Files\\McAfee\\scan.exe");
  EXPECT_EQ(s.Options, "/ALL  /NOMEM");
  EXPECT_EQ(s.FoundTag, "Found the ");
}

TEST(Settings, EmptyFoundTagIsEmptyNotTheDefault) {
  TTempDir dir;
  WriteSettingsFile(dir, "FoundTag=\r\nOptions=\r\n");
  TPluginSettings s = ReadScanSettings(dir.Path());
  EXPECT_EQ(s.FoundTag, "");
  EXPECT_EQ(s.Options, "");
}

TEST(Settings, HideIsReadAsAnInteger) {
  struct Case {
    const char* value;
    bool hide;
  } cases[] = {{"0", false},  {"1", true},   {"7", true},   {"0x1", true},        {"0X0", false},
               {"$0", false}, {"-1", true},  {"no", true},  {"", true},           {"0x", true},
               {"1a", true},  {"00", false}, {"+0", false}, {"99999999999", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    TTempDir dir;
    WriteSettingsFile(dir, std::string("Hide=") + c.value + "\r\n");
    EXPECT_EQ(ReadScanSettings(dir.Path()).Hide, c.hide);
  }
}

TEST(Settings, IntegerTextFollowsTheReaderRules) {
  EXPECT_EQ(ParseSettingInteger("42"), 42);
  EXPECT_EQ(ParseSettingInteger("-42"), -42);
  EXPECT_EQ(ParseSettingInteger(" 5"), 5);
  EXPECT_EQ(ParseSettingInteger("0x1F"), 31);
  EXPECT_EQ(ParseSettingInteger("$ff"), 255);
  EXPECT_EQ(ParseSettingInteger("0xFFFFFFFF"), -1);
  EXPECT_EQ(ParseSettingInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseSettingInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseSettingInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("0x100000000"), std::nullopt);
  EXPECT_EQ(ParseSettingInteger(""), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("0x"), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("$"), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("-"), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("5 "), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("0x0x1"), std::nullopt);
  EXPECT_EQ(ParseSettingInteger("true"), std::nullopt);
}

TEST(Settings, DialogWritesThreeKeysAndLeavesAHandMadeTagAlone) {
  TTempDir dir;
  WriteSettingsFile(dir, "FoundTag=Virus: \r\n");
  TPluginSettings s;
  s.Scanner = "C:\\Program Files\\scan.exe";
  s.Hide = false;
  s.Options = "/MIME";
  WriteDialogSettings(dir.Path(), s);
  EXPECT_NE(ReadFileBytes(dir / "tvvexal.ini").find("Hide=0\r\n"), std::string::npos);

  TPluginSettings back = ReadDialogSettings(dir.Path());
  EXPECT_EQ(back.Scanner, "C:\\Program Files\\scan.exe");
  EXPECT_FALSE(back.Hide);
  EXPECT_EQ(back.Options, "/MIME");
  EXPECT_EQ(back.FoundTag, "Found the ");  // the dialog never reads the tag
  EXPECT_EQ(ReadScanSettings(dir.Path()).FoundTag, "Virus:");

  s.Hide = true;
  WriteDialogSettings(dir.Path(), s);
  EXPECT_NE(ReadFileBytes(dir / "tvvexal.ini").find("Hide=1\r\n"), std::string::npos);
}

TEST(Settings, FailedWriteNamesTheFile) {
  TTempDir dir;
  const std::string missing = dir.Path() + "gone" + (test::OnWindows() ? "\\" : "/");
  try {
    WriteDialogSettings(missing, TPluginSettings{});
    FAIL() << "no error raised";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "nach " + missing + "tvvexal.ini kann nicht geschrieben werden");
  }
}

}  // namespace
}  // namespace tv
