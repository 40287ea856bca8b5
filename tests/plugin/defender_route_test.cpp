// Defender's route: what its exit code and output are judged to be, where
// its scanner is found, and checks through a stand-in that prints what
// Defender prints (tests/support/fakedefender.cpp).

#include "plugin/defender_route.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/system/files.h"
#include "platform/system/registry.h"
#include "plugin/host_answer.h"
#include "plugin/scan_run.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using TKind = TVerdict::TKind;

TEST(DefenderRoute, TheSchemeInAnyLetterCaseNamesDefender) {
  const struct {
    const char* Scanner;
    std::optional<std::string> Program;
  } cases[] = {
      {"defender:", ""},
      {"DEFENDER:", ""},
      {"Defender:C:\\Tools\\MpCmdRun.exe", "C:\\Tools\\MpCmdRun.exe"},
      {"defender:/opt/defender/MpCmdRun", "/opt/defender/MpCmdRun"},
      {"defender", std::nullopt},
      {" defender:", std::nullopt},
      {"defender.exe", std::nullopt},
      {"clamd://a:1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DefenderProgramOf(c.Scanner), c.Program) << c.Scanner;
}

TEST(DefenderRoute, CommandLineScansTheOneFileWithoutRemediation) {
  EXPECT_EQ(DefenderCommandLine("C:\\Defender\\MpCmdRun.exe", "C:\\Temp\\my mail\\a.txt"),
            "\"C:\\Defender\\MpCmdRun.exe\" -Scan -ScanType 3 -File \"C:\\Temp\\my mail\\a.txt\" "
            "-DisableRemediation");
  EXPECT_EQ(DefenderCommandLine("/bin/MpCmdRun", "C:\\x\\"),
            "\"/bin/MpCmdRun\" -Scan -ScanType 3 -File C:\\x\\ -DisableRemediation");
  EXPECT_EQ(DefenderCommandLine("/bin/MpCmdRun", "C:\\x y\\"),
            "\"/bin/MpCmdRun\" -Scan -ScanType 3 -File \"C:\\x y\\\\\" -DisableRemediation");
}

// Only exit code and output together make a verdict.
TEST(DefenderRoute, ExitCodeAndOutputMustAgree) {
  const std::string file = "C:\\Temp\\att.com";
  const std::string clean =
      "Scan starting...\r\nScan finished.\r\nScanning C:\\Temp\\att.com found no threats.\r\n";
  const std::string block =
      "Threat                  : Virus:DOS/EICAR_Test_File\r\n    file                : x\r\n";
  const std::string found =
      "Scanning C:\\Temp\\att.com found 1 threats.\r\n<====LIST OF DETECTED THREATS====>\r\n";
  const struct {
    std::uint32_t Exit;
    std::string Output;
    TKind Kind;
    std::string Names;
  } cases[] = {
      {0, clean, TKind::Clean, ""},
      {0, "Scanning c:\\temp\\ATT.COM found no threats.\n", TKind::Clean, ""},
      {0, clean + "   \r\n", TKind::Clean, ""},
      {2, found + block, TKind::Finding, "Virus:DOS/EICAR_Test_File"},
      {2, found + block + "Threat : Trojan:Win32/X\r\n" + block, TKind::Finding,
       "Virus:DOS/EICAR_Test_File, Trojan:Win32/X"},
      {2, "Threat:A\n", TKind::Finding, "A"},
      // Exit 2 alone, exit 0 alone, and their contradictions.
      {2, found, TKind::NotCarriedOut, ""},
      {2, "", TKind::NotCarriedOut, ""},
      {0, "Scan starting...\r\nScan finished.\r\n", TKind::NotCarriedOut, ""},
      {0, "", TKind::NotCarriedOut, ""},
      {0, clean + block, TKind::NotCarriedOut, ""},
      {2, clean + block, TKind::NotCarriedOut, ""},
      {2, clean, TKind::NotCarriedOut, ""},
      // Another file's line, or the line cut short.
      {0, "Scanning C:\\Temp\\other.com found no threats.\r\n", TKind::NotCarriedOut, ""},
      {0, "Scanning C:\\Temp\\att.com found no threats\r\n", TKind::NotCarriedOut, ""},
      {0, "Scanning C:\\Temp\\att.co found no threats.\r\n", TKind::NotCarriedOut, ""},
      // Unknown codes; failures and a switched-off Defender whatever the code.
      {1, clean, TKind::NotCarriedOut, ""},
      {3, found + block, TKind::NotCarriedOut, ""},
      {0x80508023u, clean, TKind::NotCarriedOut, ""},
      {2, found + block + "CmdTool: Failed with hr = 0x80508023. Check the log\r\n", TKind::NotCarriedOut,
       ""},
      {0, clean + "ERROR: The service is not running\r\n", TKind::NotCarriedOut, ""},
      {0, "Windows Defender is disabled by policy.\r\n" + clean, TKind::NotCarriedOut, ""},
      {2, found + block + "This feature has been DISABLED.\r\n", TKind::NotCarriedOut, ""},
      {2, found + "Threat                  : \r\n", TKind::NotCarriedOut, ""},
      {2, std::string("Threat : A\r\n\0\0", 15), TKind::Finding, "A"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Exit) + ": " + c.Output);
    const TVerdict verdict = JudgeDefender(c.Exit, c.Output, file);
    EXPECT_EQ(verdict.Kind, c.Kind);
    if (c.Kind == TKind::Finding) {
      ASSERT_TRUE(verdict.Report.has_value());
      EXPECT_EQ(verdict.Report->Names, c.Names);
      EXPECT_EQ(verdict.Report->LogLine, file + " ... Found the " + c.Names);
    }
  }
}

// Defender may print the path in its console's code page, not in ours.
TEST(DefenderRoute, ThePathMayComeBackInAnotherCodePage) {
  const std::string ansi =
      "C:\\Users\\J\xFCrgen\\Temp\\Gr\xFC\xDF"
      "e.txt";
  for (const std::string printed : {ansi,
                                    std::string("C:\\Users\\J\x81rgen\\Temp\\Gr\x81\xE1"
                                                "e.txt"),
                                    std::string("C:\\Users\\J\xC3\xBCrgen\\Temp\\Gr\xC3\xBC\xC3\x9F"
                                                "e.txt")})
    EXPECT_EQ(JudgeDefender(0, "Scanning " + printed + " found no threats.\r\n", ansi).Kind, TKind::Clean);
  EXPECT_EQ(JudgeDefender(0, "Scanning C:\\Users\\Jrgen\\Temp\\Gre.txt found no threats.\r\n", ansi).Kind,
            TKind::NotCarriedOut);
}

class DefenderCheck : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) const {
    const std::string path = dir_ / name;
    test::WriteFileBytes(path, content);
    return path;
  }
  TVerdict Check(const std::string& path, std::chrono::milliseconds limit = kDefenderTimeLimit) const {
    return TDefenderRoute(program_, limit).Check(path);
  }

  test::TTempDir dir_;
  const std::string program_ = test::ProgramDirectory() + test::ProgramFile("MpCmdRun");
};

// A stored zip of one member, the test file.
std::string ZipOf(const std::string& member, const std::string& content) {
  std::string zip = "PK\x03\x04";
  zip += std::string(22, '\0');
  zip += static_cast<char>(member.size());
  zip += '\0';
  zip += std::string(2, '\0');
  return zip + member + content;
}

TEST_F(DefenderCheck, EveryAnswerOfTheStandIn) {
  const struct {
    std::string Content;
    TKind Kind;
    std::string Names;
  } cases[] = {
      {"Hello\r\n", TKind::Clean, ""},
      {test::EicarString(), TKind::Finding, "Virus:DOS/EICAR_Test_File"},
      {ZipOf("eicar.com", test::EicarString()), TKind::Finding, "Virus:DOS/EICAR_Test_File"},
      {"tvdefender: two\r\n", TKind::Finding, "Virus:DOS/EICAR_Test_File, Trojan:Win32/Tevrin.A"},
      {"tvdefender: disabled\r\n", TKind::NotCarriedOut, ""},
      {"tvdefender: failed\r\n", TKind::NotCarriedOut, ""},
      {"tvdefender: exit2-silent\r\n", TKind::NotCarriedOut, ""},
      {"tvdefender: exit0-silent\r\n", TKind::NotCarriedOut, ""},
      {"tvdefender: exit3\r\n", TKind::NotCarriedOut, ""},
      {"tvdefender: flood\r\n", TKind::NotCarriedOut, ""},
      {"tvdefender: delete\r\n", TKind::NotCarriedOut, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Content);
    const std::string file = Write("att.bin", c.Content);
    const TVerdict verdict = Check(file);
    EXPECT_EQ(verdict.Kind, c.Kind) << verdict.Why;
    if (c.Kind == TKind::Finding) {
      ASSERT_TRUE(verdict.Report.has_value());
      EXPECT_EQ(verdict.Report->Names, c.Names);
    }
  }
}

TEST_F(DefenderCheck, TheTimeLimitEndsTheScanner) {
  const std::string file = Write("slow.txt", "tvdefender: hang\r\n");
  const auto start = std::chrono::steady_clock::now();
  const TVerdict verdict = Check(file, std::chrono::milliseconds(1500));
  EXPECT_EQ(verdict.Kind, TKind::NotCarriedOut);
  EXPECT_EQ(verdict.Why, "Defender's time limit passed");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
  // Ended: the file is free to go.
  EXPECT_TRUE(sys::DeleteFileAt(file));
}

TEST_F(DefenderCheck, NoProgramOrNoReadableFileIsNotCarriedOut) {
  const std::string file = Write("att.txt", "Hello");
  EXPECT_EQ(TDefenderRoute(dir_ / "missing/MpCmdRun.exe").Check(file).Kind, TKind::NotCarriedOut);
  EXPECT_EQ(TDefenderRoute(dir_.Path()).Check(file).Kind, TKind::NotCarriedOut);  // a folder
  EXPECT_EQ(Check(dir_ / "missing.txt").Kind, TKind::NotCarriedOut);
  EXPECT_EQ(Check(dir_.MakeSubdir("folder.txt")).Kind, TKind::NotCarriedOut);
  if (!test::OnWindows()) {
    // Found nowhere: Linux has no Defender of its own.
    test::UnsetEnv("ProgramData");
    test::UnsetEnv("ProgramW6432");
    EXPECT_EQ(TDefenderRoute("").Check(file).Kind, TKind::NotCarriedOut);
  }
}

// Blanks, bytes beyond ASCII and a path beyond 259 characters reach it
// unchanged and come back in its line.
TEST_F(DefenderCheck, HostileNamesReachItUnchanged) {
  if (!test::OnWindows())
    std::filesystem::create_directories(dir_ / (std::string(120, 'd') + "/" + std::string(120, 'e')));
  for (const std::string& name :
       {std::string("my mail (2).txt"),
        std::string("Gr\xFC\xDF"
                    "e & \"x\".txt"),
        std::string(120, 'd') + "/" + std::string(120, 'e') + "/" + std::string(40, 'f') + ".txt"}) {
    // No such name on Windows; the long one there is the host suite's.
    if (test::OnWindows() && (name.find('"') != std::string::npos || name.size() > 259)) continue;
    SCOPED_TRACE(name);
    EXPECT_EQ(Check(Write(name, "Hello")).Kind, TKind::Clean);
    EXPECT_EQ(Check(Write(name, test::EicarString())).Kind, TKind::Finding);
  }
}

// Found as Defender installs itself: the newest version folder of its
// platform with the program in it, else the 64-bit Program Files folder.
TEST_F(DefenderCheck, FoundInTheNewestPlatformFolderElseInProgramFiles) {
  const std::string data = dir_.MakeSubdir("ProgramData");
  const std::string files = dir_.MakeSubdir("Program Files");
  const std::string platform = data + "Microsoft/Windows Defender/Platform/";
  for (const char* version :
       {"4.18.2001.10-0", "4.18.24090.11-0", "4.18.9999.1-0", "notes", "4.18.30000.1-0"})
    std::filesystem::create_directories(platform + version);
  std::filesystem::create_directories(files + "Windows Defender");
  test::SetEnv("ProgramData", data);
  test::SetEnv("ProgramW6432", files);
  const std::string name = test::ProgramFile("MpCmdRun");
  auto place = [&](const std::string& folder) { return test::CopyProgram(name, folder, kDefenderProgram); };
  const std::string expected[] = {place(platform + "4.18.24090.11-0/"), place(platform + "4.18.2001.10-0/"),
                                  place(files + "Windows Defender/")};
  if (sys::MachineText64("SOFTWARE\\Microsoft\\Windows Defender", "InstallLocation"))
    GTEST_SKIP() << "a Defender is registered on this machine, and is found first";
  // The newest folder (4.18.30000.1-0) holds no program: the next one's.
  for (const std::string& program : expected) {
    EXPECT_TRUE(sys::IsSameFile(FindDefender(), program)) << FindDefender() << " for " << program;
    EXPECT_EQ(TDefenderRoute("").Check(Write("att.txt", "Hello")).Kind, TKind::Clean);
    ASSERT_TRUE(sys::DeleteFileAt(program));
  }
  EXPECT_EQ(FindDefender(), "");
  test::UnsetEnv("ProgramData");
  test::UnsetEnv("ProgramW6432");
}

// Through the plug-in's check: the host's text and the log line as the
// daemon's route gives them; nothing for a check not carried out.
TEST_F(DefenderCheck, TheHostGetsTheNamesAndTheLogItsLine) {
  const std::string host = dir_.MakeSubdir("host");
  test::WriteFileBytes(host + "tvvexal.ini",
                       "[tevrin.BAV]\r\nScanner=DEFENDER:" + program_ + "\r\nHide=0\r\n");
  const std::string file = Write("eicar.com", test::EicarString());
  char virusName[kVirusNameCapacity] = {};
  EXPECT_EQ(CheckFile(file.c_str(), virusName, host), kResultFinding);
  EXPECT_EQ(std::string(virusName), "\n" + file + "\nVirus:DOS/EICAR_Test_File");
  const std::string log = test::ReadFileBytes(host + "tvvexal.log");
  EXPECT_NE(log.find(file + " ... Found the Virus:DOS/EICAR_Test_File"), std::string::npos) << log;

  std::strcpy(virusName, "untouched");
  EXPECT_EQ(CheckFile(Write("off.txt", "tvdefender: disabled\r\n").c_str(), virusName, host),
            kResultNotCarriedOut);
  EXPECT_EQ(CheckFile(Write("ok.txt", "Hello").c_str(), virusName, host), kResultOk);
  EXPECT_STREQ(virusName, "untouched");
  EXPECT_EQ(test::ReadFileBytes(host + "tvvexal.log"), log);
}

}  // namespace
}  // namespace tv
