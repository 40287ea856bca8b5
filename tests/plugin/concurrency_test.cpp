// A host checks attachments in worker threads while its UI thread opens the
// options dialog again and again (showing the log that the checks write,
// saving the settings that they read). The tsan preset runs this test.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/headless/form_operator.h"
#include "platform/ui/headless/headless_backend.h"
#include "plugin/scan_run.h"
#include "plugin/setup.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using test::TTempDir;

constexpr int kThreads = 4;
constexpr int kDialogs = 20;
// Under Wine every check starts a process that takes a tenth of a second
// or more: the unit suite makes fewer there, and dialogs.sh makes the full
// count with real windows.
const int kChecksPerThread = test::OnWindows() ? 20 : 200;

TEST(Concurrency, ChecksInFourThreadsWhileTheOptionsDialogOpensAndCloses) {
  TTempDir dir;
  const std::string host = dir.MakeSubdir("host");
  test::WriteFileBytes(host + "tvvexal.ini",
                       "[tevrin.BAV]\r\nScanner=" + test::ProgramDirectory() + "scan.exe\r\n");
  // Each thread checks its own two files in turn: one infected, one clean.
  std::vector<std::string> infected, clean;
  for (int t = 0; t < kThreads; ++t) {
    infected.push_back(dir / ("bad" + std::to_string(t) + ".com"));
    clean.push_back(dir / ("good" + std::to_string(t) + ".txt"));
    test::WriteFileBytes(infected.back(), test::EicarString());
    test::WriteFileBytes(clean.back(), "nothing to see");
  }

  std::mutex wrongLock;
  std::vector<std::string> wrong;
  std::atomic<int> running{kThreads};
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t)
    workers.emplace_back([&, t] {
      for (int i = 0; i < kChecksPerThread; ++i) {
        const bool bad = i % 2 == 0;
        char virusName[1024] = {};
        const std::int32_t result = CheckFile((bad ? infected : clean)[t].c_str(), virusName, host);
        const bool right = bad ? result == 1 && std::string(virusName).find("EICAR") != std::string::npos
                               : result == 0 && virusName[0] == '\0';
        if (!right) {
          const std::lock_guard<std::mutex> hold(wrongLock);
          wrong.push_back("thread " + std::to_string(t) + " check " + std::to_string(i) + ": " +
                          std::to_string(result) + " " + virusName);
        }
      }
      --running;
    });

  // The dialog as a person uses it meanwhile: the log page, then Ok.
  int shown = 0;
  for (int d = 0; d < kDialogs || running > 0; ++d) {
    TModalDriverScope driver([&](TCustomForm& form) {
      TFormOperator person(form);
      person.ShowPage("tsLog");
      person.Click("btOk");
      ++shown;
    });
    RunSetup(host);
    Application().ProcessMessages();
    if (d >= kDialogs) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  for (std::thread& worker : workers) worker.join();

  std::fprintf(stderr, "INI: %s\n", test::ReadFileBytes(host + "tvvexal.ini").c_str());
  EXPECT_GE(shown, kDialogs);
  EXPECT_EQ(wrong, std::vector<std::string>{});
  // One log line per finding, whole: time stamp, file, finding.
  std::map<std::string, int> lines;
  std::string line;
  for (char c : test::ReadFileBytes(host + "tvvexal.log")) {
    if (c != '\n') {
      line += c;
      continue;
    }
    const std::size_t file = line.find(' ', line.find(' ') + 1) + 1;
    ++lines[line.substr(file, line.find(' ', file) - file)];
    EXPECT_NE(line.find(" ... Found the EICAR test file NOT a virus.\r"), std::string::npos) << line;
    line.clear();
  }
  EXPECT_EQ(line, "");
  std::map<std::string, int> expected;
  for (const std::string& file : infected) expected[file] = kChecksPerThread / 2;
  EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace tv
