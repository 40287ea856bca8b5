#pragma once
// The options dialog on the plug-in's own settings and log: what BAV_Setup
// runs.

#include <string>

#include "dialogs/options_dialog.h"

namespace tv {

// The settings file and the log beside the host executable.
class TPluginOptionsStore : public TOptionsStore {
 public:
  // HostDirectory ends with a path separator.
  explicit TPluginOptionsStore(std::string hostDirectory) : hostDirectory_(std::move(hostDirectory)) {}
  TOptionsValues Read() override;
  void Write(const TOptionsValues& values) override;
  std::string StartDirectory() override { return hostDirectory_; }
  bool LogExists() override;
  bool ReadLog(std::string& text) override;
  void DeleteLog() override;

 private:
  std::string hostDirectory_;
};

// Creates the options dialog without owner, executes it on the settings of
// HostDirectory and releases it: it is destroyed when the host next
// processes messages, not before this returns.
void RunSetup(const std::string& hostDirectory);

// Frees what the dialogs made, for a library about to be unloaded: the
// forms waiting for release, the backend with its windows and window
// classes, the application object, the translators' list and tables. The
// next dialog makes them again.
void ShutdownSetup();

}  // namespace tv
