// tvclam: the contract's command line, ClamAV's answers judged, the report
// and exit code; the whole run against a scripted ClamAV.

#include "tools/tvclam/tvclam.h"

#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace tv::clam {
namespace {

using TKind = TVerdict::TKind;

TEST(Tvclam, CommandLineDropsTheOriginalScannersOptionsAndPassesClamAVsOn) {
  std::string problem;
  const auto parsed =
      ParseArguments({"/tmp/mail/a.com", "/MIME", "/unzip", "--database=/db", "/Report", "/tmp/mail/a.~tv",
                      "--clamd", "--clamdscan=/opt/clamdscan", "C:\\IN\\X.EXE", "/ALL"},
                     problem);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->Files, (std::vector<std::string>{"/tmp/mail/a.com", "C:\\IN\\X.EXE"}));
  EXPECT_EQ(parsed->Report, "/tmp/mail/a.~tv");
  EXPECT_TRUE(parsed->Daemon);
  EXPECT_EQ(parsed->Program, "/opt/clamdscan");
  EXPECT_EQ(parsed->PassedOn, (std::vector<std::string>{"--database=/db"}));
  for (const auto& [args, why] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"/MIME", "/REPORT", "r"}, "no file to scan"}, {{"a", "/REPORT"}, "/REPORT needs a file name"}}) {
    EXPECT_FALSE(ParseArguments(args, problem).has_value());
    EXPECT_EQ(problem, why);
  }
}

TEST(Tvclam, ClamAVsAnswersJudged) {
  struct TCase {
    std::string Log;
    int Exit;
    TKind Kind;
    std::string Text;
  } cases[] = {
      {"/m/a.com: OK\n", 0, TKind::Clean, ""},
      {"", 0, TKind::Clean, ""},
      {"/m/a.com: Eicar-Test-Signature FOUND\n", 1, TKind::Found, "Eicar-Test-Signature"},
      // An archive's finding names the archive (members after a "!").
      {"/m/a.com!x.txt: Tv.Test.Pattern-1 FOUND\r\n", 1, TKind::Found, "Tv.Test.Pattern-1"},
      {"/m/a.com: Can't open file or directory ERROR\n", 2, TKind::Error, "Can't open file or directory"},
      {"/m/a.com: Access denied. ERROR\n", 2, TKind::Error, "Access denied"},
      {"ERROR: Could not connect to clamd on LocalSocket /run/c.sock: No such file or directory\n", 2,
       TKind::Error, "Could not connect to clamd on LocalSocket /run/c.sock: No such file or directory"},
      {"ERROR: Can't access file /m/a.com\n", 2, TKind::Error, "Can't access file /m/a.com"},
      // What ClamAV 1.4 says of a file it cannot open, and of a database
      // it cannot load.
      {"\n---\n\nWARNING: /m/a.com: Can't access file\n", 2, TKind::Error, "Can't access file"},
      {"LibClamAV Error: cl_load(): No such file or directory: /db\nERROR: Can't get file status\n", 2,
       TKind::Error, "LibClamAV Error: cl_load(): No such file or directory: /db"},
      {"", 2, TKind::Error, "clamscan ended with exit code 2"},
      {"", 139, TKind::Error, "clamscan ended with exit code 139"},
      // Contradictions are errors, never a clean file.
      {"", 1, TKind::Error, "clamscan ended with exit code 1 without naming a finding"},
      {"/m/a.com: OK\n", 1, TKind::Error, "clamscan ended with exit code 1 without naming a finding"},
      {"/m/a.com: X FOUND\n", 0, TKind::Error, "clamscan ended with exit code 0 but named a finding"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Log + " / " + std::to_string(c.Exit));
    const std::vector<TVerdict> verdicts = Judge({"/m/a.com"}, c.Log, c.Exit, "clamscan");
    ASSERT_EQ(verdicts.size(), 1u);
    EXPECT_EQ(verdicts[0].Kind, c.Kind);
    EXPECT_EQ(verdicts[0].Text, c.Text);
  }
}

TEST(Tvclam, ReportLinesAndExitCodes) {
  const std::vector<std::string> files{"C:\\M\\a.com", "C:\\M\\b.doc", "C:\\M\\c.zip"};
  EXPECT_EQ(ReportText(files, {{TKind::Clean, ""}, {TKind::Clean, ""}, {TKind::Clean, ""}}), "");
  EXPECT_EQ(ExitCode({{TKind::Clean, ""}}), kExitClean);
  const std::vector<TVerdict> mixed{
      {TKind::Found, "Eicar"}, {TKind::Clean, ""}, {TKind::Error, "Access denied"}};
  EXPECT_EQ(
      ReportText(files, mixed),
      "C:\\M\\a.com ... Found the Eicar\r\nC:\\M\\c.zip ... Found the scanner error: Access denied\r\n");
  EXPECT_EQ(ExitCode(mixed), kExitError);
  EXPECT_EQ(ExitCode({{TKind::Found, "x"}, {TKind::Clean, ""}}), kExitFinding);
}

TEST(Tvclam, RunsClamAVAndWritesTheReport) {
  test::TTempDir folder;
  const std::string fake = test::ProgramDirectory() + test::ProgramFile("fakeclam");
  const std::string file = folder / "a b.com", report = folder / "a b.~tv", args = folder / "args.txt";
  test::WriteFileBytes(file, "x");
  test::SetEnv("TV_FAKECLAM_ARGS", args);
  struct TCase {
    std::string Script;
    std::vector<std::string> Extra;
    int Exit;
    std::string Report;
  } cases[] = {
      {"0|%FILE%: OK", {}, kExitClean, ""},
      {"1|%FILE%: Tv.Test FOUND",
       {"--database=" + folder.Path()},
       kExitFinding,
       file + " ... Found the Tv.Test\r\n"},
      {"2|%FILE%: Access denied. ERROR",
       {},
       kExitError,
       file + " ... Found the scanner error: Access denied\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Script);
    test::SetEnv("TV_FAKECLAM", c.Script);
    std::vector<std::string> command{file, "/MIME", "/UNZIP", "--clamscan=" + fake};
    command.insert(command.end(), c.Extra.begin(), c.Extra.end());
    command.insert(command.end(), {"/REPORT", report});
    EXPECT_EQ(clam::Run(command), c.Exit);
    EXPECT_EQ(test::ReadFileBytes(report), c.Report);
    EXPECT_FALSE(test::PathExists(report + ".clamav"));  // ClamAV's log is gone
  }
  // What ClamAV was given: its own options only, the file last.
  EXPECT_EQ(test::ReadFileBytes(args), "--no-summary\n--log=" + report + ".clamav\n" + file + "\n");
  test::UnsetEnv("TV_FAKECLAM");
  test::UnsetEnv("TV_FAKECLAM_ARGS");
  // No ClamAV at all: a scanner error, never a clean file.
  EXPECT_EQ(clam::Run({file, "--clamscan=" + folder.Path() + "missing-clamscan", "/REPORT", report}),
            kExitError);
  EXPECT_EQ(test::ReadFileBytes(report),
            file + " ... Found the scanner error: " + folder.Path() + "missing-clamscan not found\r\n");
}

}  // namespace
}  // namespace tv::clam
