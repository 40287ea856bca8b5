// Which settings go to ClamAV's daemon, and what the check makes of a
// server list that cannot be used; the exchanges with a real daemon are in
// the host suite (tests/wine/suite.sh, case clamd_route).

#include "plugin/daemon_check.h"

#include <gtest/gtest.h>

#include "plugin/scan_run.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

TEST(DaemonCheck, TheSchemeInAnyLetterCaseNamesTheDaemon) {
  const struct {
    std::string Scanner;
    std::optional<std::string> Servers;
  } cases[] = {
      {"clamd://127.0.0.1:3310", "127.0.0.1:3310"},
      {"CLAMD://a:1,b:2", "a:1,b:2"},
      {"ClamD:///run/clamav/clamd.ctl", "/run/clamav/clamd.ctl"},
      {"clamd://", ""},
      {"scan.exe", std::nullopt},
      {"clamd:/a:1", std::nullopt},
      {" clamd://a:1", std::nullopt},
      {"C:\\clamd\\scan.exe", std::nullopt},
      {"clamd.exe", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DaemonServersOf(c.Scanner), c.Servers) << c.Scanner;
}

// Nothing is checked, nothing logged, the host's buffer untouched.
TEST(DaemonCheck, AListThatNamesNoServerOrAFileThatCannotBeReadIsNotCarriedOut) {
  test::TTempDir host;
  test::WriteFileBytes(host / "att.txt", "x");
  char virusName[kVirusNameCapacity] = "untouched";
  for (const char* servers : {"", "nohost", "a:1,,b:2", "[::1]"})
    EXPECT_EQ(CheckWithDaemon(host / "att.txt", servers, virusName, host.Path()), kResultNotCarriedOut)
        << servers;
  EXPECT_EQ(CheckWithDaemon(host / "missing.txt", "127.0.0.1:1", virusName, host.Path()),
            kResultNotCarriedOut);
  EXPECT_STREQ(virusName, "untouched");
  EXPECT_FALSE(test::PathExists(host / "tvvexal.log"));
}

}  // namespace
}  // namespace tv
