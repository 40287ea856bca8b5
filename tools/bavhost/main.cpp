// bavhost: a command-line host for BAV anti-virus plug-ins. It loads any
// plug-in library, resolves its exports by name and calls them as the mail
// client would, checking that no call writes beyond the buffer it was given.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "dialogs/dialog_classes.h"
#include "dialogs/project_info.h"
#include "platform/rtl/code_page.h"
#include "platform/system/library.h"
#include "platform/system/text.h"
#include "platform/ui/headless/dialog_terminal.h"
#include "platform/ui/headless/headless_script.h"
#include "plugin/bav_interface.h"
#include "translator/app_translator.h"

namespace {

constexpr int kExitClean = 0;
constexpr int kExitFinding = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotCarriedOut = 3;
constexpr int kExitOverrun = 4;

// What the host's other plug-ins rely on for the finding's text.
constexpr std::size_t kVirusNameSize = 1024;
constexpr std::size_t kGuard = 64;
constexpr unsigned char kGuardByte = 0xA5;

using tv::bav::TCheckFileExport;
using tv::bav::TCheckStreamExport;
using tv::bav::TCureStreamExport;
using tv::bav::TNoArguments;
using tv::bav::TStringExport;
using tv::bav::TThreeArguments;
using tv::bav::TTwoArguments;

// A stand-in COM stream that only counts its references.
struct TCountingStream {
  TUnknown Unknown;  // first: the plug-in sees a TUnknown
  std::uint32_t References = 1;
};
std::int32_t BAV_CALL StreamQueryInterface(void*, const void*, void** object) {
  if (object != nullptr) *object = nullptr;
  return static_cast<std::int32_t>(0x80004002u);  // E_NOINTERFACE
}
std::uint32_t BAV_CALL StreamAddRef(void* self) {
  return ++static_cast<TCountingStream*>(self)->References;
}
std::uint32_t BAV_CALL StreamRelease(void* self) {
  return --static_cast<TCountingStream*>(self)->References;
}
const TUnknownVtbl kStreamVtbl{StreamQueryInterface, StreamAddRef, StreamRelease};

// A buffer with guard bytes on both sides.
class TGuardedBuffer {
 public:
  explicit TGuardedBuffer(std::size_t size) : bytes_(size + 2 * kGuard, kGuardByte), size_(size) {}
  char* Data() { return reinterpret_cast<char*>(bytes_.data() + kGuard); }
  // The first byte written outside, as an offset from the buffer's start, or
  // nothing; -1 means just before the buffer.
  bool Overrun(long long& where) const {
    for (std::size_t i = 0; i < kGuard; ++i) {
      if (bytes_[kGuard - 1 - i] != kGuardByte) {
        where = -static_cast<long long>(i) - 1;
        return true;
      }
      if (bytes_[kGuard + size_ + i] != kGuardByte) {
        where = static_cast<long long>(size_ + i);
        return true;
      }
    }
    return false;
  }
  // The text up to the first NUL within the buffer.
  std::string Text() const {
    const char* start = reinterpret_cast<const char*>(bytes_.data() + kGuard);
    return std::string(start, strnlen(start, size_));
  }
  void Fill(char c) { std::memset(Data(), c, size_); }

 private:
  std::vector<unsigned char> bytes_;
  std::size_t size_;
};

std::string Visible(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\n')
      shown += "\\n";
    else if (c == '\r')
      shown += "\\r";
    else if (c == '\t')
      shown += "\\t";
    else
      shown += c;
  }
  return shown;
}

// The plug-in's own texts are Windows-1252; a UTF-8 terminal gets them in
// its code.
std::string Shown(std::string_view ansi) {
  return tv::sys::OutputTakesUtf8() ? tv::AnsiToUtf8(ansi) : std::string(ansi);
}

// --- the dialogs operated from this terminal

void PrintDialogText(const char* text, std::size_t size, int toError) {
  std::FILE* stream = toError != 0 ? stderr : stdout;
  const std::string shown = Shown(std::string_view(text, size));
  std::fwrite(shown.data(), 1, shown.size(), stream);
  std::fflush(stream);
}

// Offered to the plug-in while "setup" runs; a plain call of BAV_Setup gets
// the dialog a mail client would get.
std::string setupSteps;
bool offeringSteps = false;
TvDialogTerminal terminal{nullptr, PrintDialogText};

}  // namespace

TV_DIALOG_TERMINAL_EXPORT const TvDialogTerminal* tvDialogTerminal() {
  if (!offeringSteps) return nullptr;
  terminal.Steps = setupSteps.c_str();
  return &terminal;
}

namespace {

const char* Meaning(std::int32_t code) {
  switch (code) {
    case 0: return "clean";
    case 1: return "finding";
    case -1: return "not supported";
    case -3: return "not carried out";
    default: return "unknown result";
  }
}

void Missing(const char* name) {
  std::fprintf(stderr, "bavhost: the plug-in has no export %s\n", name);
}

int Usage(const char* problem = nullptr) {
  if (problem != nullptr) std::fprintf(stderr, "bavhost: %s\n\n", problem);
  std::fprintf(problem != nullptr ? stderr : stdout,
               "usage: bavhost PLUGIN COMMAND [ARGS]\n"
               "\n"
               "Loads the BAV anti-virus plug-in library PLUGIN and calls its exports as a mail\n"
               "client does.\n"
               "\n"
               "commands:\n"
               "  info                 name, version and the capability answers\n"
               "  check FILE...        check each file: result code, its meaning, finding text\n"
               "  call EXPORT [ARGS]   one raw call, printing the result and any buffer:\n"
               "                         BAV_GetName|BAV_GetVersion BUFSIZE [null]\n"
               "                         BAV_CheckFile FILE|null\n"
               "                         BAV_CheckStream, BAV_CureStream   (counting test streams)\n"
               "                         any other export with its integer arguments\n"
               "  setup [STEP...]      the options dialog (BAV_Setup). On Windows without steps the\n"
               "                       real dialog; otherwise the steps operate it, then it is\n"
               "                       printed and closed:\n"
               "                         --set CONTROL=VALUE   type into an edit; 1 or 0 for a check box\n"
               "                         --click CONTROL       click a button or check box, show a page\n"
               "                         --file PATH           the answer of the next open-file dialog\n"
               "                         --cancel-file         cancel the next open-file dialog\n"
               "                       (Ok saves only when a step clicks btOk.)\n"
               "  threads T CHECKS DIALOGS FILE... [-- STEP...]\n"
               "                       T threads check the FILEs in turn, CHECKS times each,\n"
               "                       while setup (as above) runs DIALOGS times; then one line\n"
               "                       per thread: its clean files, findings and failures\n"
               "  cycles N [--elsewhere I] [--no-uninitialize I] [STEP...]\n"
               "                       N times: load, BAV_Initialize, setup as above,\n"
               "                       BAV_Uninitialize, free; one line per cycle. Before cycle I\n"
               "                       the previous load address is reserved (--elsewhere), or\n"
               "                       cycle I frees the library without BAV_Uninitialize.\n"
               "\n"
               "bavhost about [1|2] [English]\n"
               "                       shows the first or second About dialog of this project,\n"
               "                       in German or English (printed without windows)\n"
               "\n"
               "exit status: 0 every file clean (or the call done), 1 a finding, 2 usage or load\n"
               "error, 3 a check not carried out, 4 the plug-in wrote beyond a buffer.\n");
  return problem != nullptr ? kExitUsage : kExitClean;
}

bool ParseInt(const std::string& text, long long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 0);
  return end != nullptr && *end == '\0';
}

class THost {
 public:
  explicit THost(tv::sys::TLibrary library) : library_(std::move(library)) {}

  template <typename F>
  F Find(const char* name) const {
    return reinterpret_cast<F>(library_.Symbol(name));
  }

  // Loaded until the process ends, as the mail client keeps its plug-ins
  // (what the plug-in's dialogs leave for its end stays reachable there).
  void KeepLoaded() { library_.KeepLoaded(); }
  void Unload() { library_.Unload(); }

  // Initialize and Uninitialize bracket every session, as in the mail client.
  void Begin() const { CallIfPresent("BAV_Initialize"); }
  void End() const { CallIfPresent("BAV_Uninitialize"); }

  int Info() const {
    std::printf("name:    %s\n", Shown(String("BAV_GetName")).c_str());
    std::printf("version: %s\n", Shown(String("BAV_GetVersion")).c_str());
    for (const char* name : {"BAV_FileChecking", "BAV_MemoryChecking", "BAV_StreamChecking",
                             "BAV_ConfigNeeded", "BAV_GetStatus"}) {
      auto f = Find<TNoArguments>(name);
      if (f == nullptr) {
        std::printf("%-19s missing\n", name);
        continue;
      }
      std::int32_t result = f();
      std::printf("%-19s %d (%s)\n", name, result,
                  result == 0    ? "yes"
                  : result == -1 ? "not supported"
                                 : Meaning(result));
    }
    return kExitClean;
  }

  int Check(const std::vector<std::string>& files) const {
    auto check = Find<TCheckFileExport>("BAV_CheckFile");
    if (check == nullptr) {
      Missing("BAV_CheckFile");
      return kExitUsage;
    }
    int status = kExitClean;
    for (const std::string& file : files) {
      TGuardedBuffer virusName(kVirusNameSize);
      virusName.Fill('\0');
      std::int32_t result = check(file.c_str(), virusName.Data());
      std::printf("%s: %d (%s)\n", file.c_str(), result, Meaning(result));
      if (result == 1) {
        std::string text = virusName.Text();
        std::printf("  finding: %s\n", text.empty() ? "(no text)" : Visible(text).c_str());
        if (status == kExitClean) status = kExitFinding;
      } else if (result != 0) {
        status = kExitNotCarriedOut;
      }
      if (Overran(virusName, "VirusName")) return kExitOverrun;
    }
    return status;
  }

  int Call(const std::string& name, const std::vector<std::string>& args) const {
    void* address = library_.Symbol(name);
    if (address == nullptr) {
      Missing(name.c_str());
      return kExitUsage;
    }
    if (name == "BAV_GetName" || name == "BAV_GetVersion") return CallString(address, args);
    if (name == "BAV_CheckFile") return CallCheckFile(address, args);
    if (name == "BAV_CheckStream" || name == "BAV_CureStream") return CallStream(name, address);
    return CallIntegers(name, address, args);
  }

  // Worker threads check files while this thread opens the options dialog
  // again and again, as a mail client checking attachments while its user
  // sets the plug-in up.
  int ChecksDuringSetup(const std::vector<std::string>& args) const {
    long long threads = 0, checks = 0, dialogs = 0;
    const auto steps = std::find(args.begin(), args.end(), "--");
    const std::vector<std::string> files(args.begin() + std::min<std::ptrdiff_t>(3, steps - args.begin()),
                                         steps);
    if (args.size() < 4 || files.empty() || !ParseInt(args[0], threads) || !ParseInt(args[1], checks) ||
        !ParseInt(args[2], dialogs) || threads < 1 || threads > 64 || checks < 0 || dialogs < 0)
      return Usage("threads T CHECKS DIALOGS FILE... [-- STEP...]");
    auto check = Find<TCheckFileExport>("BAV_CheckFile");
    if (check == nullptr) {
      Missing("BAV_CheckFile");
      return kExitUsage;
    }
    struct TCounts {
      long long Clean = 0, Findings = 0, Failures = 0;
    };
    std::vector<TCounts> counts(static_cast<std::size_t>(threads));
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < counts.size(); ++t)
      workers.emplace_back([&, t] {
        for (long long i = 0; i < checks; ++i) {
          std::vector<char> virusName(kVirusNameSize, '\0');
          const std::string& file = files[static_cast<std::size_t>(i) % files.size()];
          const std::int32_t result = check(file.c_str(), virusName.data());
          ++(result == 0 ? counts[t].Clean : result == 1 ? counts[t].Findings : counts[t].Failures);
          // Which check failed and how tells a loaded machine from a fault.
          if (result != 0 && result != 1)
            std::fprintf(stderr, "failed check: thread %zu, %s: %d (%s)\n", t + 1, file.c_str(), result,
                         Meaning(result));
        }
      });
    int status = kExitClean;
    const std::vector<std::string> setupSteps(steps == args.end() ? steps : steps + 1, args.end());
    for (long long d = 0; d < dialogs && status == kExitClean; ++d) status = Setup(setupSteps);
    for (std::thread& worker : workers) worker.join();
    for (std::size_t t = 0; t < counts.size(); ++t)
      std::printf("thread %zu: %lld clean, %lld findings, %lld failures\n", t + 1, counts[t].Clean,
                  counts[t].Findings, counts[t].Failures);
    return status;
  }

  // The steps travel to the plug-in's dialog in the environment: it runs
  // inside the library, out of this program's reach.
  int Setup(const std::vector<std::string>& args) const {
    auto setup = Find<TNoArguments>("BAV_Setup");
    if (setup == nullptr) {
      Missing("BAV_Setup");
      return kExitUsage;
    }
    std::string script;
    for (std::size_t i = 0; i < args.size(); ++i) {
      const std::string& option = args[i];
      const bool takesValue = option == "--set" || option == "--click" || option == "--file";
      if (!takesValue && option != "--cancel-file") return Usage(("unknown setup step: " + option).c_str());
      if (takesValue && i + 1 >= args.size()) return Usage((option + " needs a value").c_str());
      const std::string value = takesValue ? args[++i] : "";
      if (value.find_first_of("\r\n") != std::string::npos) return Usage("a step's value is one line");
      if (option == "--set" && value.find('=') == std::string::npos) return Usage("--set CONTROL=VALUE");
      script += (option == "--cancel-file" ? std::string("file") : option.substr(2) + " " + value) + "\n";
    }
#if defined(_WIN32)
    const bool scripted = !args.empty();  // without steps: the real dialog
#else
    const bool scripted = true;  // no windows: the steps, if none
#endif
    setupSteps = script;
    offeringSteps = scripted;
    std::fflush(stdout);
    std::printf("result: %d\n", setup());
    return kExitClean;
  }

 private:
  void CallIfPresent(const char* name) const {
    if (auto f = Find<TNoArguments>(name)) f();
  }

  // The whole text by the copy rule: ask for the length, then fetch it.
  std::string String(const char* name) const {
    auto f = Find<TStringExport>(name);
    if (f == nullptr) return "(missing)";
    std::int32_t length = f(nullptr, 0);
    if (length < 0 || length > 1 << 20) return "(length " + std::to_string(length) + ")";
    TGuardedBuffer buffer(static_cast<std::size_t>(length) + 1);
    f(buffer.Data(), length);
    if (Overran(buffer, name)) return "(overrun)";
    return buffer.Text();
  }

  static bool Overran(const TGuardedBuffer& buffer, const char* what) {
    long long where = 0;
    if (!buffer.Overrun(where)) return false;
    std::fprintf(stderr, "bavhost: the plug-in wrote outside %s, at offset %lld\n", what, where);
    return true;
  }

  static int CallString(void* address, const std::vector<std::string>& args) {
    long long size = 0;
    if (args.empty() || args.size() > 2 || !ParseInt(args[0], size) || size < INT32_MIN || size > INT32_MAX ||
        (args.size() == 2 && args[1] != "null"))
      return Usage("call BAV_GetName|BAV_GetVersion BUFSIZE [null]");
    const bool null = args.size() == 2;
    // The buffer holds BUFSIZE characters and the NUL; nothing beyond may change.
    TGuardedBuffer buffer(size > 0 ? static_cast<std::size_t>(size) + 1 : 0);
    std::int32_t result = reinterpret_cast<TStringExport>(address)(null ? nullptr : buffer.Data(),
                                                                   static_cast<std::int32_t>(size));
    std::printf("result: %d\n", result);
    if (!null && size > 0) std::printf("buffer: \"%s\"\n", Visible(buffer.Text()).c_str());
    return Overran(buffer, "the buffer") ? kExitOverrun : kExitClean;
  }

  static int CallCheckFile(void* address, const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage("call BAV_CheckFile FILE|null");
    TGuardedBuffer virusName(kVirusNameSize);
    virusName.Fill('\0');
    const char* file = args[0] == "null" ? nullptr : args[0].c_str();
    std::int32_t result = reinterpret_cast<TCheckFileExport>(address)(file, virusName.Data());
    std::printf("result: %d (%s)\n", result, Meaning(result));
    std::printf("buffer: \"%s\"\n", Visible(virusName.Text()).c_str());
    return Overran(virusName, "VirusName") ? kExitOverrun : kExitClean;
  }

  static int CallStream(const std::string& name, void* address) {
    TCountingStream stream{{&kStreamVtbl}}, cured{{&kStreamVtbl}};
    std::int32_t result =
        name == "BAV_CheckStream"
            ? reinterpret_cast<TCheckStreamExport>(address)(&stream.Unknown, 0)
            : reinterpret_cast<TCureStreamExport>(address)(&stream.Unknown, &cured.Unknown, 0);
    std::printf("result: %d (%s)\n", result, Meaning(result));
    std::printf("references after the call: %u", stream.References);
    if (name == "BAV_CureStream") std::printf(", %u", cured.References);
    std::printf(" (1 before)\n");
    return kExitClean;
  }

  static int CallIntegers(const std::string& name, void* address, const std::vector<std::string>& args) {
    std::vector<std::intptr_t> values;
    for (const std::string& arg : args) {
      long long value = 0;
      if (!ParseInt(arg, value)) return Usage(("not an integer: " + arg).c_str());
      values.push_back(static_cast<std::intptr_t>(value));
    }
    // The argument count is part of each export's contract; a wrong count
    // would unbalance the stack of a stdcall function.
    std::size_t expected = ArgumentCount(name);
    if (expected == kUnknown) return Usage(("no known signature for " + name).c_str());
    if (values.size() != expected)
      return Usage((name + " takes " + std::to_string(expected) + " argument(s)").c_str());
    std::int32_t result = 0;
    switch (expected) {
      case 0: result = reinterpret_cast<TNoArguments>(address)(); break;
      case 2: result = reinterpret_cast<TTwoArguments>(address)(values[0], values[1]); break;
      case 3: result = reinterpret_cast<TThreeArguments>(address)(values[0], values[1], values[2]); break;
    }
    std::printf("result: %d (%s)\n", result, Meaning(result));
    return kExitClean;
  }

  static constexpr std::size_t kUnknown = 99;
  static std::size_t ArgumentCount(const std::string& name) {
    for (const char* none :
         {"BAV_Initialize", "BAV_Uninitialize", "BAV_GetStatus", "BAV_Setup", "BAV_ConfigNeeded",
          "BAV_MemoryChecking", "BAV_FileChecking", "BAV_StreamChecking"})
      if (name == none) return 0;
    for (const char* two : {"BAV_SetCfgData", "BAV_GetCfgData", "BAV_CureFile"})
      if (name == two) return 2;
    for (const char* three : {"BAV_CheckMemory", "BAV_CureMemory"})
      if (name == three) return 3;
    return kUnknown;
  }

  tv::sys::TLibrary library_;
};

}  // namespace

// "cycles N [--elsewhere K] [--no-uninitialize K] [STEP...]".
struct TCyclesPlan {
  long long Count = 0;
  long long Elsewhere = 0;  // the cycle loaded with the previous address reserved, or 0
  long long Keep = 0;       // the cycle freed without BAV_Uninitialize, or 0
  std::vector<std::string> Steps;
};

// The plan, or the usage message for arguments that make none.
std::optional<TCyclesPlan> ParseCycles(const std::vector<std::string>& args, std::string& usage) {
  TCyclesPlan plan;
  if (args.empty()) {
    usage = "cycles needs a count";
    return std::nullopt;
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool takesCycle = args[i] == "--elsewhere" || args[i] == "--no-uninitialize";
    if (i == 0) {
      if (!ParseInt(args[i], plan.Count) || plan.Count < 1 || plan.Count > 1000) {
        usage = "cycles N: 1 to 1000 cycles";
        return std::nullopt;
      }
    } else if (takesCycle) {
      long long& cycle = args[i] == "--elsewhere" ? plan.Elsewhere : plan.Keep;
      if (i + 1 >= args.size() || !ParseInt(args[++i], cycle) || cycle < 1 || cycle > plan.Count) {
        usage = args[i - 1] + " needs a cycle number from 1 to N";
        return std::nullopt;
      }
    } else {
      plan.Steps.push_back(args[i]);
    }
  }
  return plan;
}

// Loads, operates and frees the library as often as the plan says.
int RunCycles(const std::string& plugin, const TCyclesPlan& plan) {
  std::uintptr_t previous = 0;
  for (long long cycle = 1; cycle <= plan.Count; ++cycle) {
    std::unique_ptr<tv::sys::TAddressReservation> reserved;
    if (cycle == plan.Elsewhere && previous != 0) {
      reserved = std::make_unique<tv::sys::TAddressReservation>(previous);
      if (!reserved->IsHeld()) {
        std::fprintf(stderr, "bavhost: cannot reserve the previous load address\n");
        return kExitNotCarriedOut;
      }
    }
    tv::sys::TLibrary library = tv::sys::TLibrary::Load(plugin);
    if (!library.IsLoaded()) {
      std::fprintf(stderr, "bavhost: cycle %lld: cannot load %s: %s\n", cycle, plugin.c_str(),
                   library.Error().c_str());
      return kExitUsage;
    }
    const std::uintptr_t address = library.Address();
    const char* place = previous == 0 ? "first load" : address == previous ? "same address" : "elsewhere";
    previous = address;
    reserved.reset();
    THost host(std::move(library));
    host.Begin();
    if (const int status = host.Setup(plan.Steps); status != kExitClean) return status;
    if (cycle != plan.Keep) host.End();
    host.Unload();
    std::printf("cycle %lld: %s, %s, %s\n", cycle, place,
                cycle != plan.Keep ? "uninitialized" : "not uninitialized",
                tv::sys::TLibrary::IsInMemory(plugin) ? "still in memory" : "unloaded");
    std::fflush(stdout);
  }
  return kExitClean;
}

// Load, use and unload cycles as a mail client that loads its plug-ins
// again: each line says whether the library was loaded where the previous
// one was, and whether freeing it really took it out of memory.
int Cycles(const std::string& plugin, const std::vector<std::string>& args) {
  std::string usage;
  const std::optional<TCyclesPlan> plan = ParseCycles(args, usage);
  if (!plan) return Usage(usage.c_str());
  return RunCycles(plugin, *plan);
}

// The About dialogs from this program's own copy of them, for people
// checking their look.
int About(const std::vector<std::string>& args) {
  const bool english = !args.empty() && args.back() == "English";
  const std::vector<std::string> style(args.begin(), args.end() - (english ? 1 : 0));
  if (style.size() > 1 || (style.size() == 1 && style[0] != "1" && style[0] != "2"))
    return Usage("about [1|2] [English]");
  if (english) tv::TranslatorList().SetApplicationLanguage(tv::tlEnglish);
  try {
#if !defined(_WIN32)
    // No windows: printed and closed.
    const tv::THeadlessDrivers printed = tv::ScriptDrivers("", [](std::string_view text, bool toError) {
      PrintDialogText(text.data(), text.size(), toError ? 1 : 0);
    });
    const tv::TModalDriverScope driver(printed.Modal, printed.Files);
#endif
    tv::RegisterDialogClasses();
    tv::TTvProjectInfo info(nullptr);
    info.SetProjectName("tevrinVexal");
    info.SetVersionMajor(1);
    info.SetAboutDialogStyle(!style.empty() && style[0] == "2" ? tv::adVersion2 : tv::adVersion1);
    info.ShowAboutDialog();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bavhost: %s\n", e.what());
    return kExitUsage;
  }
  return kExitClean;
}

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no plug-in named");
  if (args[0] == "--help" || args[0] == "-h") return Usage();
  if (args[0] == "about") return About(std::vector<std::string>(args.begin() + 1, args.end()));
  if (args.size() < 2) return Usage("no command given");
  if (args[1] == "cycles") return Cycles(args[0], std::vector<std::string>(args.begin() + 2, args.end()));

  tv::sys::TLibrary library = tv::sys::TLibrary::Load(args[0]);
  if (!library.IsLoaded()) {
    std::fprintf(stderr, "bavhost: cannot load %s: %s\n", args[0].c_str(), library.Error().c_str());
    return kExitUsage;
  }
  THost host(std::move(library));
  const std::string command = args[1];
  const std::vector<std::string> rest(args.begin() + 2, args.end());

  int status;
  host.Begin();
  if (command == "info") {
    status = rest.empty() ? host.Info() : Usage("info takes no arguments");
  } else if (command == "check") {
    status = rest.empty() ? Usage("check needs at least one file") : host.Check(rest);
  } else if (command == "setup") {
    status = host.Setup(rest);
  } else if (command == "threads") {
    status = host.ChecksDuringSetup(rest);
  } else if (command == "call") {
    status = rest.empty() ? Usage("call needs an export name")
                          : host.Call(rest[0], std::vector<std::string>(rest.begin() + 1, rest.end()));
  } else {
    status = Usage(("unknown command: " + command).c_str());
  }
  host.End();
  host.KeepLoaded();
  return status;
}
