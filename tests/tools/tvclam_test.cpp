// tvclam: the contract's command line, ClamAV's answers judged, the report
// and exit code; the whole run against a scripted ClamAV.

#include "tools/tvclam/tvclam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "platform/system/files.h"
#include "tests/support/test_support.h"

namespace tv::clam {
namespace {

using TKind = TVerdict::TKind;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
    end = std::min(text.find('\n', at), text.size());
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

TEST(Tvclam, CommandLineDropsTheOriginalScannersOptionsAndPassesClamAVsOn) {
  std::string problem;
  const auto parsed =
      ParseArguments({"/tmp/mail/a.com", "/MIME", "/unzip", "--database=/db", "/Report", "/tmp/mail/a.~tv",
                      "--clamd", "--clamscan=/opt/clamscan", "C:\\IN\\X.EXE", "/ALL"},
                     problem);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->Files, (std::vector<std::string>{"/tmp/mail/a.com", "C:\\IN\\X.EXE"}));
  EXPECT_EQ(parsed->Report, "/tmp/mail/a.~tv");
  EXPECT_TRUE(parsed->Daemon);
  EXPECT_EQ(parsed->Program, "/opt/clamscan");
  EXPECT_EQ(parsed->Servers, "");
  EXPECT_EQ(ParseArguments({"a", "--clamd=127.0.0.1:3310,[::1]:3310"}, problem)->Servers,
            "127.0.0.1:3310,[::1]:3310");
  EXPECT_EQ(parsed->PassedOn, (std::vector<std::string>{"--database=/db"}));
  EXPECT_EQ(parsed->TimeoutSeconds, 0);
  EXPECT_EQ(ParseArguments({"a", "--timeout=7"}, problem)->TimeoutSeconds, 7);
  EXPECT_EQ(ParseArguments({"a", "--timeout=86400"}, problem)->TimeoutSeconds, 86400);
  // "--timeout-x" is no spelling of it: ClamAV's to judge.
  EXPECT_EQ(ParseArguments({"a", "--timeout-x=1"}, problem)->PassedOn,
            std::vector<std::string>{"--timeout-x=1"});
  const std::string badTimeout = "--timeout needs a whole number of seconds from 1 to 86400";
  for (const auto& [args, why] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"/MIME", "/REPORT", "r"}, "no file to scan"},
           {{"a", "/REPORT"}, "/REPORT needs a file name"},
           {{"a", "--timeout"}, badTimeout},
           {{"a", "--timeout="}, badTimeout},
           {{"a", "--timeout=0"}, badTimeout},
           {{"a", "--timeout=-5"}, badTimeout},
           {{"a", "--timeout=1.5"}, badTimeout},
           {{"a", "--timeout=86401"}, badTimeout},
           {{"a", "--timeout=99999999999999999999"}, badTimeout},
           {{"a", "--clamd="}, "--clamd: an empty address"},
           {{"a", "--clamd=localhost"}, "--clamd: localhost: HOST:PORT expected"},
       }) {
    EXPECT_FALSE(ParseArguments(args, problem).has_value());
    EXPECT_EQ(problem, why);
  }
}

// clamscan reports what it did not look into unless the user chooses
// otherwise; it keeps the first spelling of an option, so our default is left
// out, not put before the user's. The log and its summary stay tvclam's.
TEST(Tvclam, ClamAVOptionsPutThePolicyFirstAndLeaveTheUsersChoice) {
  struct TCase {
    std::vector<std::string> User;
    std::vector<std::string> Options;
  } cases[] = {
      {{}, {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted=yes"}},
      {{"--database=/db"}, {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted=yes", "--database=/db"}},
      {{"--alert-encrypted=no"}, {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted=no"}},
      {{"--alert-exceeds-max=no"}, {"--log=L", "--alert-encrypted=yes", "--alert-exceeds-max=no"}},
      // A choice for one part of the encrypted policy keeps the other part.
      {{"--alert-encrypted-archive=no", "--alert-exceeds-max"},
       {"--log=L", "--alert-encrypted-doc=yes", "--alert-encrypted-archive=no", "--alert-exceeds-max"}},
      {{"--alert-encrypted-doc=no"},
       {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted-archive=yes", "--alert-encrypted-doc=no"}},
      {{"--alert-encrypted-doc=no", "--alert-encrypted-archive=no"},
       {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted-doc=no", "--alert-encrypted-archive=no"}},
      {{"--alert-encrypted"}, {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted"}},
      // Other options that merely begin alike are no choice on the policy.
      {{"--alert-exceeds-maximum=1"},
       {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted=yes", "--alert-exceeds-maximum=1"}},
      {{"--no-summary", "--log=/elsewhere", "--log", "--logx=1"},
       {"--log=L", "--alert-exceeds-max=yes", "--alert-encrypted=yes", "--logx=1"}},
  };
  for (const TCase& c : cases) {
    TArguments arguments;
    arguments.PassedOn = c.User;
    EXPECT_EQ(ClamAVOptions(arguments, "L"), c.Options) << ::testing::PrintToString(c.User);
  }
}

// Without servers named, those the daemon's configuration listens on.
TEST(Tvclam, DaemonServersFromTheCommandLineOrTheDaemonsConfiguration) {
  test::TTempDir folder;
  const auto servers = [&](const std::vector<std::string>& options, const std::string& configuration) {
    test::WriteFileBytes(folder / "clamd.conf", configuration);
    TArguments arguments;
    arguments.Daemon = true;
    for (const std::string& option : options)
      if (option.rfind("--clamd=", 0) == 0)
        arguments.Servers = option.substr(8);
      else
        arguments.PassedOn.push_back(option);
    std::string problem;
    const auto list = DaemonServers(arguments, problem);
    if (!list) return "problem: " + problem;
    std::string text;
    for (const clamd::TServerAddress& server : *list) text += server.Text + ";";
    return text;
  };
  const std::string config = "--config-file=" + folder.Path() + "clamd.conf";
  EXPECT_EQ(servers({"--clamd=h:1,/s"}, ""), "h:1;/s;");
  EXPECT_EQ(servers({"--clamd=h:1", config}, "TCPSocket 9\n"), "h:1;");
  EXPECT_EQ(
      servers({config}, "# LocalSocket /x\nLocalSocket /run/c.ctl\r\nTCPSocket 3310\nTCPAddr 10.0.0.1 \n"),
      "/run/c.ctl;10.0.0.1:3310;");
  EXPECT_EQ(servers({config}, "TCPSocket 3310\n"), "127.0.0.1:3310;");
  EXPECT_EQ(servers({config}, "TCPSocket 3310\nTCPAddr ::1\n"), "[::1]:3310;");
  EXPECT_EQ(servers({config}, "Foreground yes\n"),
            "problem: " + folder.Path() + "clamd.conf names no LocalSocket or TCPSocket");
  EXPECT_EQ(servers({"--config-file=" + folder.Path() + "missing.conf"}, ""),
            "problem: cannot read the daemon's configuration " + folder.Path() + "missing.conf");
}

TEST(Tvclam, NamesWithLineBreaksAreScannedInRunsOfTheirOwn) {
  using TRuns = std::vector<std::vector<std::size_t>>;
  EXPECT_EQ(ScanRuns({"/a"}), (TRuns{{0}}));
  EXPECT_EQ(ScanRuns({"/a", "/b: c", "/d"}), (TRuns{{0, 1, 2}}));
  EXPECT_EQ(ScanRuns({"/a\nb", "/c", "/d\re", "/f"}), (TRuns{{1, 3}, {0}, {2}}));
  EXPECT_EQ(ScanRuns({"/a\nb"}), (TRuns{{0}}));
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
      // A summary of no signatures: nothing was looked for, whatever else it says.
      {"\n----------- SCAN SUMMARY -----------\nKnown viruses: 0\nEngine version: 1.4.6\n", 0, TKind::Error,
       "no signatures loaded"},
      {"ERROR: Can't open file or directory\nKnown viruses: 0\n", 2, TKind::Error, "no signatures loaded"},
      {"/m/a.com: X FOUND\nKnown viruses: 0\n", 1, TKind::Error, "no signatures loaded"},
      {"Known viruses: 1\nScanned files: 1\n", 0, TKind::Clean, ""},
      {"/m/a.com: Heuristics.Limits.Exceeded.MaxFileSize FOUND\nKnown viruses: 3\n", 1, TKind::Found,
       "Heuristics.Limits.Exceeded.MaxFileSize"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Log + " / " + std::to_string(c.Exit));
    const std::vector<TVerdict> verdicts = Judge({"/m/a.com"}, c.Log, c.Exit, "clamscan");
    ASSERT_EQ(verdicts.size(), 1u);
    EXPECT_EQ(verdicts[0].Kind, c.Kind);
    EXPECT_EQ(verdicts[0].Text, c.Text);
  }
}

// Answers belong to the file whose whole name begins them, the longest name
// first: a name that is a prefix of another, holds ": " or a line break is
// never misread, and a finding pinned on none of the files fails the clean ones.
TEST(Tvclam, AnswersAreMatchedToFilesByTheirWholeNames) {
  const std::vector<std::string> files{"/m/x", "/m/x: y", "/m/x: y: z", "/m/n\nl", "/m/xx"};
  struct TCase {
    std::string Log;
    int Exit;
    std::vector<TVerdict> Verdicts;
  } cases[] = {
      {"/m/x: y: Sig FOUND\n",
       1,
       {{TKind::Clean, ""},
        {TKind::Found, "Sig"},
        {TKind::Clean, ""},
        {TKind::Clean, ""},
        {TKind::Clean, ""}}},
      {"/m/x: y: z: Sig FOUND\r\n/m/x: Other FOUND\r\n",
       1,
       {{TKind::Found, "Other"},
        {TKind::Clean, ""},
        {TKind::Found, "Sig"},
        {TKind::Clean, ""},
        {TKind::Clean, ""}}},
      {"/m/n\nl: Sig FOUND\n/m/xx: Access denied. ERROR\n",
       2,
       {{TKind::Error, "clamscan ended with exit code 2"},
        {TKind::Error, "clamscan ended with exit code 2"},
        {TKind::Error, "clamscan ended with exit code 2"},
        {TKind::Found, "Sig"},
        {TKind::Error, "Access denied"}}},
      {"WARNING: /m/x: y: Can't access file\n",
       2,
       {{TKind::Error, "clamscan ended with exit code 2"},
        {TKind::Error, "Can't access file"},
        {TKind::Error, "clamscan ended with exit code 2"},
        {TKind::Error, "clamscan ended with exit code 2"},
        {TKind::Error, "clamscan ended with exit code 2"}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Log);
    const std::vector<TVerdict> verdicts = Judge(files, c.Log, c.Exit, "clamscan");
    ASSERT_EQ(verdicts.size(), c.Verdicts.size());
    for (std::size_t i = 0; i < verdicts.size(); ++i) {
      EXPECT_EQ(verdicts[i].Kind, c.Verdicts[i].Kind) << files[i];
      EXPECT_EQ(verdicts[i].Text, c.Verdicts[i].Text) << files[i];
    }
  }
  const std::vector<TVerdict> unpinned =
      Judge({"/m/a", "/m/b"}, "/m/a: X FOUND\n/m/c: Y FOUND\n", 1, "clamscan");
  EXPECT_EQ(unpinned[0].Kind, TKind::Found);
  EXPECT_EQ(unpinned[1].Kind, TKind::Error);
  EXPECT_EQ(unpinned[1].Text, "clamscan named a finding of no file it was given: /m/c: Y FOUND");
  // Alone in its run, a file owns every answer, whatever ClamAV made of its name.
  const std::vector<TVerdict> alone = Judge({"/m/n\nl"}, "/m/n\nl: Sig FOUND\n", 1, "clamscan");
  EXPECT_EQ(alone[0].Text, "Sig");
  EXPECT_EQ(Judge({"/m/n\nl"}, "/m/n?l: Sig FOUND\n", 1, "clamscan")[0].Text, "Sig");
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

// The whole command against a scripted ClamAV, in a temporary folder of the
// test's own, so that every log tvclam makes there can be seen to go.
class TvclamRun : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kTempVariables) {
      if (const char* value = std::getenv(name)) saved_.emplace_back(name, value);
      test::SetEnv(name, temp_.Path());
    }
    test::SetEnv("TV_FAKECLAM_ARGS", args_);
  }
  void TearDown() override {
    for (const char* name : kTempVariables) test::UnsetEnv(name);
    for (const auto& [name, value] : saved_) test::SetEnv(name, value);
    for (const char* name : {"TV_FAKECLAM", "TV_FAKECLAM_ARGS", "TV_FAKECLAM_SLEEP"}) test::UnsetEnv(name);
  }
  // Runs tvclam on Files with the scripted ClamAV; the report's text in Report.
  int Run(const std::vector<std::string>& files, const std::string& script,
          const std::vector<std::string>& options = {}) {
    test::SetEnv("TV_FAKECLAM", script);
    std::vector<std::string> command = files;
    command.insert(command.end(), {"/MIME", "/UNZIP", "--clamscan=" + fake_});
    command.insert(command.end(), options.begin(), options.end());
    command.insert(command.end(), {"/REPORT", reportPath_});
    const int code = clam::Run(command);
    Report = test::ReadFileBytes(reportPath_);
    return code;
  }
  // What ClamAV was given, one argument a line.
  std::string Args() const { return test::ReadFileBytes(args_); }
  bool TempFolderEmpty() const { return std::filesystem::is_empty(temp_.Path()); }

  test::TTempDir folder_;
  std::string Report;

 private:
  static constexpr const char* kTempVariables[] = {"TMPDIR", "TMP", "TEMP"};
  std::vector<std::pair<std::string, std::string>> saved_;
  test::TTempDir temp_;
  const std::string fake_ = test::ProgramDirectory() + test::ProgramFile("fakeclam");
  const std::string args_ = folder_ / "args.txt", reportPath_ = folder_ / "a b.~tv";
};

TEST_F(TvclamRun, RunsClamAVAndWritesTheReport) {
  const std::string file = folder_ / "a b.com";
  test::WriteFileBytes(file, "x");
  struct TCase {
    std::string Script;
    std::vector<std::string> Extra;
    int Exit;
    std::string Report;
  } cases[] = {
      {"0|%FILE%: OK", {}, kExitClean, ""},
      {"1|%FILE%: Tv.Test FOUND",
       {"--database=" + folder_.Path()},
       kExitFinding,
       file + " ... Found the Tv.Test\r\n"},
      {"2|%FILE%: Access denied. ERROR",
       {},
       kExitError,
       file + " ... Found the scanner error: Access denied\r\n"},
      {"0|Known viruses: 0", {}, kExitError, file + " ... Found the scanner error: no signatures loaded\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Script);
    EXPECT_EQ(Run({file}, c.Script, c.Extra), c.Exit);
    EXPECT_EQ(Report, c.Report);
    EXPECT_TRUE(TempFolderEmpty());  // ClamAV's log is gone
  }
  // What ClamAV was given: its log, the policy, the user's options, the file last.
  const std::vector<std::string> args = Lines(Args());
  ASSERT_EQ(args.size(), 4u);
  EXPECT_EQ(args[0].rfind("--log=", 0), 0u);
  EXPECT_EQ(args[0].find(file), std::string::npos);
  EXPECT_EQ(std::vector<std::string>(args.begin() + 1, args.end()),
            (std::vector<std::string>{"--alert-exceeds-max=yes", "--alert-encrypted=yes",
                                      sys::ResolvedPath(file)}));
  // No ClamAV at all: a scanner error, never a clean file.
  EXPECT_EQ(Run({file}, "0", {"--clamscan=" + folder_.Path() + "missing-clamscan"}), kExitError);
  EXPECT_EQ(Report,
            file + " ... Found the scanner error: " + folder_.Path() + "missing-clamscan not found\r\n");
}

// A file named like tvclam's log once was is neither read, written nor removed.
TEST_F(TvclamRun, AFileWhereTheLogCouldBeIsLeftAlone) {
  const std::string file = folder_ / "a b.com", planted = folder_ / "a b.~tv.clamav";
  const std::string plantedText = file + ": Planted FOUND\n" + folder_.Path() + "x: Planted ERROR\n";
  test::WriteFileBytes(file, "x");
  test::WriteFileBytes(planted, plantedText);
  test::WriteFileBytes(file + ".clamav", plantedText);
  EXPECT_EQ(Run({file}, "0"), kExitClean);
  EXPECT_EQ(Report, "");
  EXPECT_EQ(test::ReadFileBytes(planted), plantedText);
  EXPECT_EQ(test::ReadFileBytes(file + ".clamav"), plantedText);
  // A name too long for anything to be added to it scans as any other.
  const std::string longName = folder_ / (std::string(240, 'n') + ".com");
  test::WriteFileBytes(longName, "x");
  EXPECT_EQ(Run({longName}, "1|%FILE%: Tv.Test FOUND"), kExitFinding);
  EXPECT_EQ(Report, longName + " ... Found the Tv.Test\r\n");
  EXPECT_TRUE(TempFolderEmpty());
}

TEST_F(TvclamRun, SeveralFilesAreToldApartByTheirWholeNames) {
  std::vector<std::string> files{folder_ / "x", folder_ / "xx"};
  if (!test::OnWindows()) files.push_back(folder_ / "x: y");
  for (const std::string& file : files) test::WriteFileBytes(file, "x");
  // Each file that is no option is an answer's subject by its number.
  EXPECT_EQ(Run(files, "1|%FILE" + std::to_string(files.size()) + "%: Sig FOUND|%FILE1%: OK"), kExitFinding);
  EXPECT_EQ(Report, files.back() + " ... Found the Sig\r\n");
  if (test::OnWindows()) return;  // Windows names hold no line breaks
  // A name with a line break goes to a run of its own, after the others.
  files.push_back(folder_ / "n\nl");
  test::WriteFileBytes(files.back(), "x");
  EXPECT_EQ(Run(files, "1|%FILE%: Other FOUND"), kExitFinding);
  EXPECT_EQ(Lines(Args()).back(), "l");
  EXPECT_EQ(Report, files[2] + " ... Found the Other\r\n" + files[3] + " ... Found the Other\r\n");
}

// A ClamAV that does not answer is ended when the time is up; the wait never
// ends in a clean file.
TEST_F(TvclamRun, AScanThatDoesNotEndInTimeIsAnError) {
  const std::string file = folder_ / "a.com";
  test::WriteFileBytes(file, "x");
  test::SetEnv("TV_FAKECLAM_SLEEP", "60");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Run({file}, "0|%FILE%: OK", {"--timeout=1"}), kExitError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
  EXPECT_EQ(Report, file + " ... Found the scanner error: timed out\r\n");
  EXPECT_TRUE(TempFolderEmpty());
}

}  // namespace
}  // namespace tv::clam
