#pragma once
// The plug-in's options dialog: the scanner, its options and its console
// window, the log of findings, and the About dialog. Its texts are German
// and fixed; it has no translator.

#include <string>

#include "dialogs/project_info.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"

namespace tv {

// The three settings the dialog shows and saves.
struct TOptionsValues {
  std::string Scanner;
  bool Hide = true;
  std::string Options;
};

// Where the dialog's settings and log are: the plug-in owns their files,
// names and rules and hands them in.
class TOptionsStore {
 public:
  virtual ~TOptionsStore() = default;
  // The settings, their defaults where missing.
  virtual TOptionsValues Read() = 0;
  // Raises an Exception whose message tells the user what failed.
  virtual void Write(const TOptionsValues& values) = 0;
  // Where the open-file dialog starts: the host's directory.
  virtual std::string StartDirectory() = 0;
  virtual bool LogExists() = 0;
  // The log's text, or false when it cannot be read.
  virtual bool ReadLog(std::string& text) = 0;
  // Failures are not reported: the log may stay.
  virtual void DeleteLog() = 0;
};

// Shown on the log page when the log exists but cannot be read.
inline constexpr const char* kLogUnreadable = "Protokoll kann nicht angezeigt werden.";
// Shown above the save's own message when saving the settings failed.
inline constexpr const char* kSettingsNotSaved = "Die Einstellungen wurden nicht gespeichert:";

class TwTevrinBAVOptions : public TForm {
  TV_PUBLISHED_CLASS(TwTevrinBAVOptions, TForm)
 public:
  explicit TwTevrinBAVOptions(TComponent* owner);

  // Loads the settings and the log, runs the dialog and saves the settings
  // when it is left with Ok. A save that fails keeps the dialog open with
  // the failure shown in it: the user may mend the cause and press Ok
  // again, or cancel.
  void Execute(TOptionsStore& store);

  void btSelectClick(TObject* sender);
  void btInfoClick(TObject* sender);
  void btDeleteLogClick(TObject* sender);

  bool CloseQuery() override;

  TButton *btOk = nullptr, *btCancel = nullptr, *btInfo = nullptr;
  TOpenDialog* dOpen = nullptr;
  TTvProjectInfo* piVexal = nullptr;
  TPageControl* pcOptions = nullptr;
  TTabSheet *tsOptions = nullptr, *tsLog = nullptr;
  TLabel *txScanExe = nullptr, *txOptions = nullptr, *txInfo1 = nullptr, *txSaveError = nullptr;
  TEdit *edScanExe = nullptr, *edOptions = nullptr;
  TCheckBox* cbHide = nullptr;
  TButton *btSelect = nullptr, *btDeleteLog = nullptr;
  TMemo* edLog = nullptr;

 private:
  void LoadLog();
  // False, with the failure shown, when the store refused the settings.
  bool Save();
  TOptionsStore* store_ = nullptr;  // during Execute only
};

}  // namespace tv
