// The route a Scanner setting names, and how every route's verdict reaches
// the host and the log.

#include "plugin/scan_route.h"

#include <gtest/gtest.h>

#include "plugin/daemon_check.h"
#include "plugin/defender_route.h"
#include "plugin/host_answer.h"
#include "plugin/route_choice.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

TEST(RouteChoice, TheSchemeChoosesTheDaemonOrDefenderAndEverythingElseIsAScanner) {
  using TRoute = TScannerSetting::TRoute;
  const struct {
    const char* Scanner;
    TRoute Route;
    const char* Program;
    const char* Arguments;
    const char* Servers;
    const char* Defender = "";
  } cases[] = {
      {"scan.exe", TRoute::Scanner, "scan.exe", "", ""},
      {"\"C:\\Program Files\\scan.exe\" /NOBEEP", TRoute::Scanner, "C:\\Program Files\\scan.exe", " /NOBEEP",
       ""},
      {"", TRoute::Scanner, "", "", ""},
      {"clamd.exe", TRoute::Scanner, "clamd.exe", "", ""},
      {"\"clamd://a:1\"", TRoute::Scanner, "clamd://a:1", "", ""},
      {"clamd://127.0.0.1:3310", TRoute::Daemon, "", "", "127.0.0.1:3310"},
      {"ClamD://a:1,b:2", TRoute::Daemon, "", "", "a:1,b:2"},
      {"defender:", TRoute::Defender, "", "", "", ""},
      {"DeFeNdEr:C:\\Tools\\My Defender\\MpCmdRun.exe", TRoute::Defender, "", "", "",
       "C:\\Tools\\My Defender\\MpCmdRun.exe"},
      {"defender", TRoute::Scanner, "defender", "", ""},
      {"\"defender:\"", TRoute::Scanner, "defender:", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Scanner);
    const TScannerSetting setting = ParseScannerSetting(c.Scanner);
    EXPECT_EQ(setting.Route, c.Route);
    EXPECT_EQ(setting.Command.Program, c.Program);
    EXPECT_EQ(setting.Command.Arguments, c.Arguments);
    EXPECT_EQ(setting.Servers, c.Servers);
    EXPECT_EQ(setting.Program, c.Defender);
    TPluginSettings settings;
    settings.Scanner = c.Scanner;
    const std::unique_ptr<TScanRoute> route = ChooseRoute(settings, "/nowhere/");
    EXPECT_EQ(dynamic_cast<TDaemonRoute*>(route.get()) != nullptr, c.Route == TRoute::Daemon);
    EXPECT_EQ(dynamic_cast<TScannerRoute*>(route.get()) != nullptr, c.Route == TRoute::Scanner);
    EXPECT_EQ(dynamic_cast<TDefenderRoute*>(route.get()) != nullptr, c.Route == TRoute::Defender);
  }
}

// Only a finding with a report writes the host's buffer and the log; the
// text is "\n" FILE "\n" NAMES, cut to the buffer.
TEST(HandBack, ResultCodesTextAndLogLineOfEveryKindOfVerdict) {
  const std::string longNames(2000, 'n');
  const struct {
    TVerdict Verdict;
    std::int32_t Result;
    std::string Text;
    std::string Log;
  } cases[] = {
      {TVerdict::Clean(), kResultOk, "untouched", ""},
      {TVerdict::NotCarriedOut("why"), kResultNotCarriedOut, "untouched", ""},
      {TVerdict::Finding(std::nullopt), kResultFinding, "untouched", ""},
      {TVerdict::Finding(NamedFinding("C:\\a b.com", "Eicar-Test")), kResultFinding,
       "\nC:\\a b.com\nEicar-Test", "C:\\a b.com ... Found the Eicar-Test"},
      {TVerdict::Finding(TFindingReport{"", "C:\\x ... Found the "}), kResultFinding, "\nC:\\a b.com\n",
       "C:\\x ... Found the "},
      {TVerdict::Finding(TFindingReport{longNames, "line"}), kResultFinding,
       ("\nC:\\a b.com\n" + longNames).substr(0, kVirusNameCapacity - 1), "line"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    test::TTempDir host;
    char virusName[kVirusNameCapacity + 1] = "untouched";
    virusName[kVirusNameCapacity] = 'X';
    EXPECT_EQ(HandBack("C:\\a b.com", c.Verdict, virusName, host.Path()), c.Result);
    EXPECT_EQ(std::string(virusName), c.Text);
    EXPECT_EQ(virusName[kVirusNameCapacity], 'X');
    const std::string log =
        test::PathExists(host / "tvvexal.log") ? test::ReadFileBytes(host / "tvvexal.log") : "";
    if (c.Log.empty()) {
      EXPECT_EQ(log, "");
    } else {
      ASSERT_GT(log.size(), 20u);
      EXPECT_EQ(log.substr(20), c.Log + "\r\n");  // after "dd.mm.yyyy hh:nn:ss "
    }
    EXPECT_EQ(HandBack("C:\\a b.com", c.Verdict, nullptr, host.Path()), c.Result);  // no buffer: still logged
  }
}

}  // namespace
}  // namespace tv
