#include "plugin/scan_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/system/command_line.h"
#include "platform/system/files.h"
#include "plugin/scanner_route.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using test::PathExists;
using test::ReadFileBytes;
using test::SetEnv;
using test::TTempDir;
using test::WriteFileBytes;

TEST(ReportFile, ExtensionIsReplacedOrAppended) {
  EXPECT_EQ(ReportFileFor("C:\\IN\\DATA"), "C:\\IN\\DATA.~tv");
  EXPECT_EQ(ReportFileFor("C:\\A.B\\DATA"), "C:\\A.B\\DATA.~tv");
  EXPECT_EQ(ReportFileFor("C:\\IN\\X.TXT"), "C:\\IN\\X.~tv");
  EXPECT_EQ(ReportFileFor("C:\\IN\\X.tar.gz"), "C:\\IN\\X.tar.~tv");
  EXPECT_EQ(ReportFileFor("C:X.TXT"), "C:X.~tv");
  EXPECT_EQ(ReportFileFor("C:.X\\Y"), "C:.X\\Y.~tv");
  EXPECT_EQ(ReportFileFor("/tmp/a.b/data"), "/tmp/a.b/data.~tv");
  EXPECT_EQ(ReportFileFor("C:\\IN\\.hidden"), "C:\\IN\\.~tv");
}

TEST(ReportFile, ReportNeverIsTheCheckedFileItself) {
  EXPECT_EQ(ReportFileFor("C:\\IN\\X.~tv"), "C:\\IN\\X.~tv.~tv");
  EXPECT_EQ(ReportFileFor("C:\\IN\\X.~TV"), "C:\\IN\\X.~TV.~tv");
}

TEST(CommandLine, DefaultsGiveTheScannersUsualCallWithTheResolvedProgram) {
  EXPECT_EQ(
      BuildCommandLine("C:\\MAIL\\scan.exe", TPluginSettings{}, "C:\\TEMP\\ATT.EXE", "C:\\TEMP\\ATT.~tv"),
      "\"C:\\MAIL\\scan.exe\" C:\\TEMP\\ATT.EXE /MIME /UNZIP /REPORT C:\\TEMP\\ATT.~tv");
  TPluginSettings none;
  none.Options = "";
  EXPECT_EQ(BuildCommandLine("P", none, "F", "R"), "\"P\" F  /REPORT R");
}

TEST(CommandLine, ScannerSettingGivesProgramAndFurtherArguments) {
  const struct {
    const char* Setting;
    const char* Program;
    const char* Arguments;
  } cases[] = {
      {"scan.exe", "scan.exe", ""},
      {"C:\\Program Files\\McAfee\\scan.exe", "C:\\Program Files\\McAfee\\scan.exe", ""},
      {"\"C:\\Program Files\\McAfee\\scan.exe\" /NOBEEP", "C:\\Program Files\\McAfee\\scan.exe", " /NOBEEP"},
      {"\"C:\\unclosed\\scan.exe", "C:\\unclosed\\scan.exe", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Setting);
    TScannerCommand command = ScannerCommandOf(c.Setting);
    EXPECT_EQ(command.Program, c.Program);
    EXPECT_EQ(command.Arguments, c.Arguments);
  }
  TPluginSettings s;
  s.Scanner = "\"C:\\Program Files\\McAfee\\scan.exe\" /NOBEEP";
  s.Options = "/ALL \"/EXTRA X\"";
  EXPECT_EQ(BuildCommandLine("C:\\Program Files\\McAfee\\scan.exe", s, "F", "R"),
            "\"C:\\Program Files\\McAfee\\scan.exe\" /NOBEEP F /ALL \"/EXTRA X\" /REPORT R");
}

// Whatever the file's name, the scanner's C runtime must hand it back as it
// was: blanks, tabs and backslashes before the closing quote included.
TEST(CommandLine, FileAndReportReachTheScannerUnchanged) {
  const char* names[] = {"C:\\TEMP\\ATT.EXE", "C:\\My Mail\\a\tb.exe",  "C:\\My Dir\\",
                         "C:\\My Dir\\\\",    "\\\\server\\share\\x y", "C:\\a\\\\b c\\d",
                         "plain\\trailing\\", "C:\\\xE4 \xF6\\x.txt"};  // ä ö
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const std::string report = ReportFileFor(name);
    std::vector<std::string> args = sys::SplitCommandLine(
        BuildCommandLine("C:\\Program Files\\scan.exe", TPluginSettings{}, name, report));
    ASSERT_EQ(args.size(), 6u);
    EXPECT_EQ(args[0], "C:\\Program Files\\scan.exe");
    EXPECT_EQ(args[1], name);
    EXPECT_EQ(args[4], "/REPORT");
    EXPECT_EQ(args[5], report);
  }
}

// Drives the whole check with the scripted scanner.
class CheckFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = dir_.MakeSubdir("host");
    file_ = dir_ / "ATT.EXE";
    report_ = dir_ / "ATT.~tv";
    WriteFileBytes(file_, "attachment");
    SetEnv("FAKESCAN_LOG", dir_ / "args.txt");
    SetEnv("FAKESCAN_REPORT_FROM", "");
    SetEnv("FAKESCAN_EXIT", "0");
    UseScanner(test::ProgramDirectory() + "fakescan");
    std::memset(virusName_, 'Z', sizeof virusName_);
  }
  void TearDown() override {
    for (const char* name : {"FAKESCAN_LOG", "FAKESCAN_REPORT_FROM", "FAKESCAN_EXIT", "FAKESCAN_CRASH"})
      test::UnsetEnv(name);
  }

  void UseScanner(const std::string& scanner, const std::string& more = "") {
    WriteFileBytes(host_ + "tvvexal.ini", "[tevrin.BAV]\r\nScanner=" + scanner + "\r\n" + more);
  }
  // The scanner exits with Code after writing Report (when given).
  void ScannerAnswers(int code, const std::string& report = {}) {
    SetEnv("FAKESCAN_EXIT", std::to_string(code));
    if (!report.empty()) {
      WriteFileBytes(dir_ / "report.src", report);
      SetEnv("FAKESCAN_REPORT_FROM", dir_ / "report.src");
    }
  }
  std::int32_t Check(const std::string& file) { return CheckFile(file.c_str(), virusName_, host_); }
  std::vector<std::string> ScannerArgs() {
    std::vector<std::string> args;
    std::string text = ReadFileBytes(dir_ / "args.txt"), line;
    for (char c : text) {
      if (c == '\n') {
        args.push_back(line);
        line.clear();
      } else {
        line += c;
      }
    }
    return args;
  }
  bool BufferUntouched() const {
    for (char c : virusName_)
      if (c != 'Z') return false;
    return true;
  }
  std::string VirusText() const { return std::string(virusName_); }
  std::string Log() const { return ReadFileBytes(host_ + "tvvexal.log"); }

  TTempDir dir_;
  std::string host_, file_, report_;
  char virusName_[1100];
};

TEST_F(CheckFileTest, CleanFileReturnsZeroAndLeavesNoTrace) {
  ScannerAnswers(0, file_ + " ... Found the something anyway\r\n");
  EXPECT_EQ(Check(file_), kResultOk);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(report_));
  EXPECT_FALSE(PathExists(host_ + "tvvexal.log"));
  EXPECT_EQ(ScannerArgs(),
            (std::vector<std::string>{file_, "/MIME", "/UNZIP", "/REPORT", report_, "show=0"}));
}

TEST_F(CheckFileTest, FindingGivesTheTextAfterTheTagAndALogLine) {
  const std::string line = file_ + " ... Found the EICAR test file NOT a virus.";
  ScannerAnswers(13, file_ + " ... is OK.\r\n" + line + "\r\n");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_EQ(VirusText(), "\n" + file_ + "\nEICAR test file NOT a virus.");
  EXPECT_EQ(virusName_[VirusText().size() + 1], 'Z');  // nothing beyond the NUL
  EXPECT_FALSE(PathExists(report_));
  const std::string log = Log();
  ASSERT_EQ(log.size(), 20 + line.size() + 2) << log;
  EXPECT_EQ(log.substr(19), " " + line + "\r\n");
}

// Everything up to the end of the tag and the one character after it goes:
// with a ten-character tag at position P, the first P + 10 characters.
TEST_F(CheckFileTest, TagAndTheCharacterAfterItAreRemoved) {
  UseScanner(test::ProgramDirectory() + "fakescan", "FoundTag=\"Found the \"\r\n");
  const std::string line = file_ + "12345Found the ABCDEFGHIJ";
  const std::size_t p = file_.size() + 6;
  ScannerAnswers(13, line + "\r\n");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_EQ(line.substr(p + 10), "BCDEFGHIJ");
  EXPECT_EQ(VirusText(), "\n" + file_ + "\nBCDEFGHIJ");
}

TEST_F(CheckFileTest, PathInOtherCaseAndTagInLowerCaseMatch) {
  std::string otherCase = file_;
  for (char& c : otherCase) {
    if (c >= 'a' && c <= 'z')
      c = static_cast<char>(c - 32);
    else if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  }
  ScannerAnswers(13, otherCase + " found the W32/Bad\r\n");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_EQ(VirusText(), "\n" + file_ + "\nW32/Bad");
}

TEST_F(CheckFileTest, FindingWithoutMatchingLineLeavesBufferAndLogAlone) {
  ScannerAnswers(13, "C:\\ELSEWHERE.EXE Found the X\r\n" + file_ + " has something\r\n");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(host_ + "tvvexal.log"));
  EXPECT_FALSE(PathExists(report_));
}

TEST_F(CheckFileTest, FindingWithoutReportIsStillAFinding) {
  ScannerAnswers(2);
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(host_ + "tvvexal.log"));
}

TEST_F(CheckFileTest, OldReportIsNeverReadAsThisChecksFinding) {
  WriteFileBytes(report_, file_ + " ... Found the OLD finding\r\n");
  ScannerAnswers(13);  // writes no report of its own
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(report_));
}

TEST_F(CheckFileTest, ReportThatIsAFolderIsLeftAloneAndGivesABareFinding) {
  dir_.MakeSubdir("ATT.~tv");
  ScannerAnswers(13);
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_TRUE(PathExists(report_));
  EXPECT_FALSE(PathExists(host_ + "tvvexal.log"));
}

TEST_F(CheckFileTest, EmptyTagMatchesNoLine) {
  UseScanner(test::ProgramDirectory() + "fakescan", "FoundTag=\r\n");
  ScannerAnswers(13, file_ + " Found the X\r\n");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(host_ + "tvvexal.log"));
}

TEST_F(CheckFileTest, LogHeldElsewhereStillGivesTheFinding) {
  ScannerAnswers(13, file_ + " Found the X\r\n");
  sys::TFile holder = sys::TFile::Open(host_ + "tvvexal.log", sys::TFile::TOpenMode::ExclusiveOpenAlways);
  ASSERT_TRUE(holder.IsOpen());
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_EQ(VirusText(), "\n" + file_ + "\nX");
  holder.Close();
  EXPECT_EQ(Log(), "");
}

TEST_F(CheckFileTest, MissingScannerIsNotCarriedOut) {
  UseScanner(dir_ / "no-scanner.exe");
  WriteFileBytes(report_, "stale");
  EXPECT_EQ(Check(file_), kResultNotCarriedOut);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(report_));
  EXPECT_FALSE(PathExists(host_ + "tvvexal.log"));
}

TEST_F(CheckFileTest, ScannerExitingWithMinusOneIsNotCarriedOut) {
  if (!test::OnWindows()) GTEST_SKIP() << "a POSIX exit status cannot be -1";
  ScannerAnswers(-1);
  EXPECT_EQ(Check(file_), kResultNotCarriedOut);
}

// A scanner that cannot do its job never means clean.
TEST_F(CheckFileTest, ScannerThatCrashesOrFailsIsAFinding) {
  for (int code : {1, 2, 13, 255}) {
    ScannerAnswers(code);
    EXPECT_EQ(Check(file_), kResultFinding) << code;
  }
  ScannerAnswers(0);
  SetEnv("FAKESCAN_CRASH", "1");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_TRUE(BufferUntouched());
  EXPECT_FALSE(PathExists(report_));
}

// An attachment saved in the current directory under the scanner's name must
// never be run in the scanner's place.
TEST_F(CheckFileTest, ScannerIsSoughtBesideTheHostNeverInTheCurrentDirectory) {
  const std::string fake = test::ProgramFile("fakescan");
  const std::string current = dir_.MakeSubdir("current");
  test::CopyProgram(fake, current, "scan.exe");
  test::TCurrentDir inCurrent(current);
  UseScanner("scan.exe");
  EXPECT_EQ(Check(file_), kResultNotCarriedOut);
  EXPECT_FALSE(PathExists(dir_ / "args.txt"));

  test::CopyProgram(fake, host_, "scan.exe");
  EXPECT_EQ(Check(file_), kResultOk);
  EXPECT_EQ(ScannerArgs().front(), file_);

  // A relative path with a folder starts from the host's folder too.
  const std::string sep = test::OnWindows() ? "\\" : "/";
  test::CopyProgram(fake, dir_.MakeSubdir("host" + sep + "bin"), "tool.exe");
  UseScanner("bin" + sep + "tool.exe");
  std::filesystem::remove(dir_ / "args.txt");
  EXPECT_EQ(Check(file_), kResultOk);
  EXPECT_TRUE(PathExists(dir_ / "args.txt"));
}

TEST_F(CheckFileTest, HideDecidesHowTheConsoleIsShown) {
  UseScanner(test::ProgramDirectory() + "fakescan", "Hide=0\r\n");
  EXPECT_EQ(Check(file_), kResultOk);
  EXPECT_EQ(ScannerArgs().back(), "show=1");
  UseScanner(test::ProgramDirectory() + "fakescan", "Hide=1\r\n");
  EXPECT_EQ(Check(file_), kResultOk);
  EXPECT_EQ(ScannerArgs().back(), "show=0");
}

TEST_F(CheckFileTest, PathsWithBlanksReachTheScannerWhole) {
  const std::string folder = dir_.MakeSubdir("My Mail");
  const std::string file = folder + "a b.exe";
  WriteFileBytes(file, "x");
  ScannerAnswers(13, file + " Found the Blank/Virus\r\n");
  EXPECT_EQ(Check(file), kResultFinding);
  EXPECT_EQ(ScannerArgs(),
            (std::vector<std::string>{file, "/MIME", "/UNZIP", "/REPORT", folder + "a b.~tv", "show=0"}));
  EXPECT_EQ(VirusText(), "\n" + file + "\nBlank/Virus");
}

TEST_F(CheckFileTest, FileWithTheReportExtensionSurvivesItsCheck) {
  const std::string file = dir_ / "KEEP.~tv";
  WriteFileBytes(file, "user data");
  ScannerAnswers(13, file + " Found the X\r\n");
  EXPECT_EQ(Check(file), kResultFinding);
  EXPECT_EQ(ReadFileBytes(file), "user data");
  EXPECT_FALSE(PathExists(file + ".~tv"));
}

// Windows takes "q.~tv " for "q.~tv", and a link may lead anywhere: under no
// name may the report be the attachment, which the scanner would overwrite
// and the check delete.
TEST_F(CheckFileTest, ReportIsNeverTheCheckedFileUnderAnotherName) {
  std::string file = dir_ / "q.txt", passed = file;
  if (test::OnWindows()) {
    file = dir_ / "q.~tv";
    passed = file + " ";
  } else {
    std::filesystem::create_symlink(file, dir_ / "q.~tv");
  }
  WriteFileBytes(file, "attachment");
  ScannerAnswers(13, passed + " Found the X\r\n");
  EXPECT_EQ(Check(passed), kResultFinding);
  EXPECT_EQ(ReadFileBytes(file), "attachment");
  EXPECT_EQ(ScannerArgs(),
            (std::vector<std::string>{passed, "/MIME", "/UNZIP", "/REPORT", passed + ".~tv", "show=0"}));
  EXPECT_EQ(VirusText(), "\n" + passed + "\nX");
  EXPECT_FALSE(PathExists(passed + ".~tv"));
}

TEST_F(CheckFileTest, LongPathsKeepTheirFindingAndLeaveNoReport) {
  std::string folder = dir_.Path();
  while (folder.size() < 300)
    folder = dir_.MakeSubdir(folder.substr(dir_.Path().size()) + std::string(40, 'd'));
  const std::string file = folder + "ATT.EXE";
  WriteFileBytes(file, "attachment");
  ScannerAnswers(13, file + " Found the Long/Path\r\n");
  EXPECT_EQ(Check(file), kResultFinding);
  EXPECT_EQ(VirusText(), "\n" + file + "\nLong/Path");
  EXPECT_EQ(Log().substr(19), " " + file + " Found the Long/Path\r\n");
  EXPECT_FALSE(PathExists(folder + "ATT.~tv"));
}

// A trailing backslash before the closing quote would escape it and run the
// rest of the command line into one argument.
TEST_F(CheckFileTest, NameEndingInABackslashReachesTheScannerWhole) {
  std::string name = dir_ / "with blank\\";
  if (test::OnWindows())
    name = dir_.MakeSubdir("with blank");
  else
    WriteFileBytes(name, "x");
  ScannerAnswers(13);
  EXPECT_EQ(Check(name), kResultFinding);
  EXPECT_EQ(ScannerArgs(),
            (std::vector<std::string>{name, "/MIME", "/UNZIP", "/REPORT", name + ".~tv", "show=0"}));
}

TEST_F(CheckFileTest, LongFindingIsCutToTheHostsBuffer) {
  const std::string line = file_ + " Found the " + std::string(5000, 'v');
  ScannerAnswers(13, line + "\r\n");
  EXPECT_EQ(Check(file_), kResultFinding);
  EXPECT_EQ(virusName_[kVirusNameCapacity - 1], '\0');
  EXPECT_EQ(VirusText().size(), kVirusNameCapacity - 1);
  for (std::size_t i = kVirusNameCapacity; i < sizeof virusName_; ++i) ASSERT_EQ(virusName_[i], 'Z') << i;
  EXPECT_EQ(Log().substr(19), " " + line + "\r\n");  // the log keeps the whole line
}

TEST_F(CheckFileTest, NonAsciiNamesReachTheScannerByteForByte) {
  const std::string file = dir_ / "\xE4rger \xFC.exe";  // ärger ü
  WriteFileBytes(file, "x");
  ScannerAnswers(13, file + " Found the \xD6 virus\r\n");  // Ö
  EXPECT_EQ(Check(file), kResultFinding);
  EXPECT_EQ(ScannerArgs().front(), file);
  EXPECT_EQ(VirusText(), "\n" + file + "\n\xD6 virus");
}

TEST_F(CheckFileTest, OverlongCommandLineIsRefusedWithoutRunning) {
  const std::string longName = dir_.Path() + std::string(40000, 'n');
  EXPECT_EQ(Check(longName), kResultNotCarriedOut);
  EXPECT_FALSE(PathExists(dir_ / "args.txt"));
  EXPECT_TRUE(BufferUntouched());
}

TEST_F(CheckFileTest, BadFileNamesAreNotCarriedOut) {
  EXPECT_EQ(CheckFile(nullptr, virusName_, host_), kResultNotCarriedOut);
  EXPECT_EQ(CheckFile("", virusName_, host_), kResultNotCarriedOut);
  EXPECT_EQ(CheckFile("C:\\a\" /REPORT C:\\x.exe", virusName_, host_), kResultNotCarriedOut);
  EXPECT_FALSE(PathExists(dir_ / "args.txt"));
  EXPECT_TRUE(BufferUntouched());
}

TEST_F(CheckFileTest, NullBufferStillGetsTheVerdictAndTheLog) {
  ScannerAnswers(13, file_ + " Found the X\r\n");
  EXPECT_EQ(CheckFile(file_.c_str(), nullptr, host_), kResultFinding);
  EXPECT_FALSE(Log().empty());
}

// The stand-in scanner under its default name, found beside the host.
TEST(CheckFileWithStandInScanner, DefaultSettingsFindTheTestFile) {
  TTempDir dir;
  const std::string host = dir.MakeSubdir("host");
  test::CopyProgram("scan.exe", host);  // the default scanner, beside the host
  const std::string clean = dir / "clean.txt";
  const std::string infected = dir / "eicar.com";
  WriteFileBytes(clean, "Hello, world.\r\n");
  WriteFileBytes(infected, test::EicarString() + "\r\n");
  char virusName[kVirusNameCapacity] = {};

  EXPECT_EQ(CheckFile(clean.c_str(), virusName, host), kResultOk);
  EXPECT_STREQ(virusName, "");
  EXPECT_EQ(CheckFile(infected.c_str(), virusName, host), kResultFinding);
  EXPECT_EQ(std::string(virusName), "\n" + infected + "\nEICAR test file NOT a virus.");
  EXPECT_EQ(ReadFileBytes(host + "tvvexal.log").substr(19),
            " " + infected + " ... Found the EICAR test file NOT a virus.\r\n");
  EXPECT_FALSE(PathExists(dir / "eicar.~tv"));
  EXPECT_FALSE(PathExists(dir / "clean.~tv"));

  // An unreadable file makes the scanner fail: a finding without a text.
  std::memset(virusName, 'Z', sizeof virusName);
  EXPECT_EQ(CheckFile((dir / "missing.txt").c_str(), virusName, host), kResultFinding);
  EXPECT_EQ(virusName[0], 'Z');
}

// x.com and x.txt report into x.~tv: checked at the same time they must
// take turns, or one deletes the other's report.
TEST(CheckFileWithStandInScanner, FilesSharingAReportNameCheckedAtOnceKeepTheirVerdicts) {
  TTempDir dir;
  const std::string host = dir.MakeSubdir("host");
  test::CopyProgram("scan.exe", host);
  const std::string infected = dir / "x.com", clean = dir / "x.txt";
  WriteFileBytes(infected, test::EicarString() + "\r\n");
  WriteFileBytes(clean, "Hello, world.\r\n");
  constexpr int kRounds = 15;
  std::atomic<int> wrong{0};
  auto checker = [&](const std::string& file, std::int32_t verdict, const std::string& text) {
    for (int round = 0; round < kRounds; ++round) {
      char virusName[kVirusNameCapacity] = {};
      if (CheckFile(file.c_str(), virusName, host) != verdict || virusName != text) ++wrong;
    }
  };
  std::thread first(checker, infected, kResultFinding, "\n" + infected + "\nEICAR test file NOT a virus.");
  std::thread second(checker, clean, kResultOk, "");
  first.join();
  second.join();
  EXPECT_EQ(wrong, 0);
  const std::string log = ReadFileBytes(host + "tvvexal.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), kRounds);
  EXPECT_FALSE(PathExists(dir / "x.~tv"));
}

}  // namespace
}  // namespace tv
