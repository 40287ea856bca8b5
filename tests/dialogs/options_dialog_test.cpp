// The options dialog as a person uses it, on the plug-in's real settings
// file and log in a scratch folder.

#include "dialogs/options_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <new>
#include <optional>

#include "dialogs/about_dialogs.h"
#include "dialogs/dialog_classes.h"
#include "dialogs/stored_forms.h"
#include "platform/components/text_form.h"
#include "platform/ui/form_dump.h"
#include "platform/ui/headless/form_operator.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/headless_script.h"
#include "plugin/exports.h"
#include "plugin/settings.h"
#include "plugin/setup.h"
#include "tests/support/test_support.h"

namespace tv {
namespace {

using test::TTempDir;

const std::string kUmlautU = "\xFC";  // ü
const std::string kWrittenDefaults = "[tevrin.BAV]\r\nScanner=scan.exe\r\nHide=1\r\nOptions=/MIME /UNZIP\r\n";

// Runs the dialog on Folder's settings; Steps operate it as a person would.
// Returns the dialog's dump as Steps found it, before they acted.
std::string RunDialog(const TTempDir& folder, const std::function<void(TFormOperator&)>& steps,
                      TOptionsStore* store = nullptr, TFileDialogDriver files = nullptr) {
  TPluginOptionsStore plugin(folder.Path());
  std::string dump;
  TModalDriverScope driver(
      [&](TCustomForm& form) {
        dump = DumpForm(form);
        TFormOperator person(form);
        steps(person);
      },
      std::move(files));
  std::unique_ptr<TwTevrinBAVOptions> dialog = CreateForm<TwTevrinBAVOptions>();
  dialog->Execute(store != nullptr ? *store : plugin);
  return dump;
}

std::string Settings(const TTempDir& folder) {
  return test::PathExists(folder / "tvvexal.ini") ? test::ReadFileBytes(folder / "tvvexal.ini") : "<none>";
}

TEST(OptionsDialog, StoredFormRoundTripsAndShowsEveryControlAtItsPlace) {
  RegisterDialogClasses();
  const std::string* text = FindFormResource("TwTevrinBAVOptions");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(*text)), *text);

  TTempDir folder;
  const std::string dump = RunDialog(folder, [](TFormOperator&) {});
  // Centred on the 1024 by 768 screen of the headless desktop.
  EXPECT_EQ(dump,
            "TwTevrinBAVOptions wTevrinBAVOptions at 307,151 size 410x466 \"tevrinVexal\"\n"
            "  TButton btOk at 152,408 size 75x25 \"Ok\"\n"
            "  TButton btCancel at 236,408 size 75x25 \"Abbrechen\"\n"
            "  TButton btInfo at 320,408 size 75x25 \"\xDC"
            "ber...\"\n"
            "  TPageControl pcOptions at 8,4 size 389x397 page tsOptions\n"
            "    TTabSheet tsOptions at 4,24 size 381x369 \"Einstellungen\"\n"
            "      TLabel txScanExe at 8,116 size 60x13 \"&SCAN.EXE:\"\n"
            "      TLabel txOptions at 8,176 size 60x13 \"&Optionen:\"\n"
            "      TEdit edScanExe at 8,136 size 277x21 \"scan.exe\"\n"
            "      TEdit edOptions at 8,196 size 277x21 \"/MIME /UNZIP\"\n"
            "      TCheckBox cbHide at 8,244 size 309x17 \"Konsolenfenster w\xE4hrend des Scannens "
            "&verbergen\" checked\n"
            "      TLabel txInfo1 at 8,12 size 358x65 \"tevrinVexal ist ein Anti-Virus-PlugIn um den McAfee "
            "Kommandozeilenscanner mit TheBat! nutzen zu k\xF6nnen.\r\n\r\nTragen Sie den kompletten Pfad "
            "des Kommandozeilenscanners SCAN.EXE ein und legen Sie ggf. die gew\xFCnschten Scan-Optionen "
            "fest.\"\n"
            "      TButton btSelect at 298,132 size 75x25 \"&Ausw\xE4hlen\"\n"
            "      TLabel txSaveError at 8,280 size 358x78 \"\" hidden\n"
            "    TTabSheet tsLog at 4,24 size 381x369 \"Protokoll\" hidden\n"
            "      TMemo edLog at 4,8 size 373x325 readonly\n"
            "      TButton btDeleteLog at 300,340 size 75x25 \"L\xF6schen\"\n"
            "  TOpenDialog dOpen\n"
            "  TTvProjectInfo piVexal\n");
}

TEST(OptionsDialog, TabOrderResultsFontsAndTheProjectInformation) {
  TTempDir folder;
  RunDialog(folder, [](TFormOperator& person) {
    auto& dialog = static_cast<TwTevrinBAVOptions&>(person.Form());
    const std::pair<TWinControl*, int> orders[] = {
        {dialog.btOk, 0},      {dialog.btCancel, 1},   {dialog.btInfo, 2}, {dialog.pcOptions, 3},
        {dialog.edScanExe, 0}, {dialog.edOptions, 1},  {dialog.cbHide, 2}, {dialog.btSelect, 3},
        {dialog.edLog, 0},     {dialog.btDeleteLog, 1}};
    for (const auto& [control, order] : orders) EXPECT_EQ(control->TabOrder(), order) << control->Name();
    EXPECT_EQ(dialog.btOk->ModalResult(), mrOk);
    EXPECT_EQ(dialog.btCancel->ModalResult(), mrCancel);
    EXPECT_EQ(dialog.BorderStyle(), bsDialog);
    EXPECT_EQ(dialog.Font().Name() + " " + std::to_string(dialog.Font().Size()), "MS Sans Serif 8");
    EXPECT_EQ(dialog.edLog->Font().Name() + " " + std::to_string(dialog.edLog->Font().Size()),
              "Courier New 8");
    EXPECT_EQ(dialog.edLog->ScrollBars(), ssBoth);
    EXPECT_EQ(dialog.txScanExe->FocusControl(), dialog.edScanExe);
    EXPECT_EQ(dialog.txOptions->FocusControl(), dialog.edOptions);
    EXPECT_TRUE(dialog.txInfo1->WordWrap());
    person.PressAlt('s');
    EXPECT_TRUE(dialog.edScanExe->Focused());
    person.PressAlt('o');
    EXPECT_TRUE(dialog.edOptions->Focused());
    const TTvProjectInfo& info = *dialog.piVexal;
    EXPECT_EQ(info.ProjectName() + " " + info.VersionText(), "tevrinVexal Version 1.00");
    EXPECT_EQ(info.AboutDialogStyle(), adVersion2);
    EXPECT_EQ(info.ProjectLogo().Width(), 166);
    EXPECT_EQ(info.ProjectIcon().Width(), 128);
    EXPECT_EQ(info.SupportEMail(), kMakerSupportEMail);
    EXPECT_EQ(info.ProjectHomepage(), kMakerHomepage);
    EXPECT_EQ(info.SupportHomepage(), kMakerHomepage);
  });
}

TEST(OptionsDialog, OpensWithTheDefaultsOrTheSavedSettingsOnTheFirstPage) {
  struct TCase {
    std::string File, Scanner, Options;
    bool Hide;
  } cases[] = {
      {"", "scan.exe", "/MIME /UNZIP", true},
      {"[tevrin.BAV]\r\nScanner=C:\\Programme\\Mc Afee\\scan.exe\r\nHide=0\r\nOptions=\r\n",
       "C:\\Programme\\Mc Afee\\scan.exe", "", false},
      {"[tevrin.BAV]\r\nHide=no\r\n", "scan.exe", "/MIME /UNZIP", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    TTempDir folder;
    if (!c.File.empty()) test::WriteFileBytes(folder / "tvvexal.ini", c.File);
    RunDialog(folder, [&](TFormOperator& person) {
      auto& dialog = static_cast<TwTevrinBAVOptions&>(person.Form());
      EXPECT_EQ(dialog.pcOptions->ActivePage(), dialog.tsOptions);
      EXPECT_EQ(person.Text("edScanExe"), c.Scanner);
      EXPECT_EQ(person.Text("edOptions"), c.Options);
      EXPECT_EQ(dialog.cbHide->Checked(), c.Hide);
      EXPECT_EQ(dialog.dOpen->InitialDir(), folder.Path());
      EXPECT_EQ(person.Text("edLog"), "");
    });
  }
}

TEST(OptionsDialog, OkWritesExactlyTheThreeKeysAndLeavesTheRestOfTheFile) {
  struct TCase {
    std::string Before;
    std::function<void(TFormOperator&)> Change;
    std::string After;
  } cases[] = {
      {"", [](TFormOperator&) {}, kWrittenDefaults},
      // (Wine's profile functions trim blanks around values: none here.)
      {"; mine\r\n[Other]\r\nKey=1\r\n[tevrin.BAV]\r\nFoundTag=Gefunden:\r\nExtra=x\r\n",
       [](TFormOperator& person) {
         person.Type("edScanExe", "D:\\Scanner\\scan 2.exe");
         person.SetChecked("cbHide", false);
         person.Type("edOptions", "/ALL /X");
       },
       "; mine\r\n[Other]\r\nKey=1\r\n[tevrin.BAV]\r\nFoundTag=Gefunden:\r\nExtra=x\r\n"
       "Scanner=D:\\Scanner\\scan 2.exe\r\nHide=0\r\nOptions=/ALL /X\r\n"},
      // A single-line edit keeps the first line of what it is given: a
      // value never adds lines of its own to the file.
      {"", [](TFormOperator& person) { person.Type("edOptions", "/A\r\nFoundTag=x"); },
       "[tevrin.BAV]\r\nScanner=scan.exe\r\nHide=1\r\nOptions=/A\r\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.After);
    TTempDir folder;
    if (!c.Before.empty()) test::WriteFileBytes(folder / "tvvexal.ini", c.Before);
    RunDialog(folder, [&](TFormOperator& person) {
      c.Change(person);
      person.Click("btOk");
      EXPECT_EQ(person.Form().ModalResult(), mrOk);
    });
    EXPECT_EQ(Settings(folder), c.After);
  }
}

TEST(OptionsDialog, LeavingWithoutOkWritesNothing) {
  const std::function<void(TFormOperator&)> ways[] = {
      [](TFormOperator& person) { person.Click("btCancel"); },
      [](TFormOperator& person) { person.PressEscape(); }, [](TFormOperator& person) { person.Close(); },
      [](TFormOperator&) {},  // the driver gives up: the window is closed
  };
  for (const auto& leave : ways) {
    TTempDir folder;
    RunDialog(folder, [&](TFormOperator& person) {
      person.Type("edScanExe", "other.exe");
      leave(person);
    });
    EXPECT_EQ(Settings(folder), "<none>");
  }
}

TEST(OptionsDialog, ChoosingAScannerReplacesTheTextAndCancellingKeepsIt) {
  for (const std::optional<std::string>& chosen :
       {std::optional<std::string>("C:\\Tools\\scan.exe"), std::optional<std::string>()}) {
    TTempDir folder;
    std::string asked;
    RunDialog(
        folder,
        [&](TFormOperator& person) {
          person.Type("edScanExe", "mein scan.exe");
          person.Click("btSelect");
          EXPECT_EQ(person.Text("edScanExe"), chosen.value_or("mein scan.exe"));
        },
        nullptr,
        [&](TOpenDialog& files) {
          asked = files.FileName() + "|" + files.InitialDir() + "|" + files.Filter() + "|" +
                  files.DefaultExt() + "|" + files.Title();
          return chosen;
        });
    EXPECT_EQ(asked, "mein scan.exe|" + folder.Path() +
                         "|Programme (*.exe)|*.exe|exe|McAfee Virusscan (SCAN.EXE) lokalisieren");
  }
}

TEST(OptionsDialog, TheLogPageShowsTheLogAndDeletesItForGood) {
  TTempDir folder;
  test::WriteFileBytes(folder / "tvvexal.log", "08.12.2026 10:00:00 a.txt Found the X\r\nzweite Zeile\r\n");
  RunDialog(folder, [&](TFormOperator& person) {
    auto& dialog = static_cast<TwTevrinBAVOptions&>(person.Form());
    EXPECT_EQ(dialog.edLog->Lines().Count(), 2);
    EXPECT_EQ(person.Text("edLog"), "08.12.2026 10:00:00 a.txt Found the X\r\nzweite Zeile");
    EXPECT_THROW(person.Click("btDeleteLog"), EInvalidOperation);  // on the page not shown
    person.ShowPage("tsLog");
    person.Click("btDeleteLog");
    EXPECT_EQ(person.Text("edLog"), "");
    EXPECT_FALSE(test::PathExists(folder / "tvvexal.log"));
    person.Click("btDeleteLog");  // no log: the text is cleared, nothing else
    person.Click("btCancel");
  });
  EXPECT_FALSE(test::PathExists(folder / "tvvexal.log"));
  EXPECT_EQ(Settings(folder), "<none>");
}

// The plug-in's store with a log that cannot be read.
class TUnreadableLog : public TPluginOptionsStore {
 public:
  TUnreadableLog(const std::string& folder, bool throws) : TPluginOptionsStore(folder), throws_(throws) {}
  bool ReadLog(std::string&) override {
    if (throws_) throw std::bad_alloc();
    return false;
  }

 private:
  bool throws_;
};

TEST(OptionsDialog, AnUnreadableLogShowsOneLineInstead) {
  for (const bool throws : {false, true}) {
    TTempDir folder;
    test::WriteFileBytes(folder / "tvvexal.log", "a line\r\n");
    TUnreadableLog store(folder.Path(), throws);
    RunDialog(
        folder, [](TFormOperator& person) { EXPECT_EQ(person.Text("edLog"), kLogUnreadable); }, &store);
  }
}

TEST(OptionsDialog, AFailedSaveKeepsTheDialogOpenWithTheReasonUntilItIsMended) {
  TTempDir folder;
  // A folder where the settings file should be: no write can succeed.
  folder.MakeSubdir("tvvexal.ini");
  const std::string reason = std::string(kSettingsNotSaved) + "\r\nnach " + folder.Path() +
                             "tvvexal.ini kann nicht geschrieben werden";
  RunDialog(folder, [&](TFormOperator& person) {
    auto& dialog = static_cast<TwTevrinBAVOptions&>(person.Form());
    person.ShowPage("tsLog");
    person.Click("btOk");
    EXPECT_EQ(dialog.ModalResult(), mrNone);  // still open
    EXPECT_EQ(dialog.pcOptions->ActivePage(), dialog.tsOptions);
    EXPECT_TRUE(dialog.txSaveError->Visible());
    EXPECT_EQ(dialog.txSaveError->Caption(), reason);
    person.PressEnter();  // no default button: nothing happens
    EXPECT_EQ(dialog.ModalResult(), mrNone);
    ASSERT_TRUE(std::filesystem::remove(folder / "tvvexal.ini"));
    person.Click("btOk");
    EXPECT_EQ(dialog.ModalResult(), mrOk);
    EXPECT_FALSE(dialog.txSaveError->Visible());
  });
  EXPECT_EQ(Settings(folder), kWrittenDefaults);
}

TEST(OptionsDialog, InfoShowsTheSecondAboutDialogOwnedByTheOptions) {
  TTempDir folder;
  std::string about;
  RunDialog(folder, [&](TFormOperator& person) {
    TModalDriverScope nested([&](TCustomForm& form) {
      EXPECT_NE(dynamic_cast<TwTevrinAboutV2*>(&form), nullptr);
      EXPECT_EQ(form.Owner(), &person.Form());
      about = form.Caption() + " / " + static_cast<TwTevrinAboutBase&>(form).txVersion->Caption();
      TFormOperator(form).PressEnter();
    });
    person.Click("btInfo");
    person.Click("btCancel");
  });
  EXPECT_EQ(about, "Info " + kUmlautU + "ber tevrinVexal / Version 1.00");
}

// Notes when the form that owns it goes.
class TGoneProbe : public TComponent {
 public:
  TGoneProbe(TComponent* owner, bool& gone) : TComponent(owner), gone_(gone) {}
  ~TGoneProbe() override { gone_ = true; }

 private:
  bool& gone_;
};

TEST(OptionsDialog, SetupReturnsZeroAndTheDialogGoesWithTheNextMessages) {
  bool gone = false;
  bool shown = false;
  {
    TModalDriverScope driver([&](TCustomForm& form) {
      shown = dynamic_cast<TwTevrinBAVOptions*>(&form) != nullptr && form.Owner() == nullptr;
      new TGoneProbe(&form, gone);
      TFormOperator(form).Click("btCancel");
    });
    EXPECT_EQ(BAV_Setup(), 0);
  }
  EXPECT_TRUE(shown);
  EXPECT_FALSE(gone);
  Application().ProcessMessages();
  EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// What bavhost's setup hands the dialog inside the library.
TEST(OptionsDialog, ScriptedStepsFromATerminal) {
  struct TCase {
    std::string Script, Saved, Printed, Errors;
  } cases[] = {
      {"file /opt/scan\nclick btSelect\nclick btOk\n",
       "[tevrin.BAV]\r\nScanner=/opt/scan\r\nHide=1\r\nOptions=/MIME /UNZIP\r\n", "\"/opt/scan\"", ""},
      {"file\nset cbHide=0\nclick btSelect\nclick btOk",
       "[tevrin.BAV]\r\nScanner=scan.exe\r\nHide=0\r\nOptions=/MIME /UNZIP\r\n",
       "TEdit edScanExe at 8,136 size 277x21 \"scan.exe\"", ""},
      {"set edOptions=/X\nclick btInfo", "<none>", "TwTevrinAboutV2 wTevrinAboutV2 at 357,201 ", ""},
      // A step that cannot be done ends the steps: Ok is never clicked.
      {"set cbHide=ja\nclick btOk", "<none>", "\"/MIME /UNZIP\"",
       "dialog step: cbHide is a check box: set it to 1 or 0\n"},
      {"click btNone", "<none>", "", "dialog step: wTevrinBAVOptions: there is no control btNone\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Script);
    TTempDir folder;
    const THeadlessDrivers drivers = ScriptDrivers(c.Script);
    TModalDriverScope scope(drivers.Modal, drivers.Files);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    RunSetup(folder.Path());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.Errors);
    Application().ProcessMessages();
    EXPECT_EQ(Settings(folder), c.Saved);
    EXPECT_NE(printed.find("TwTevrinBAVOptions wTevrinBAVOptions at 307,151 size 410x466 "),
              std::string::npos);
    EXPECT_NE(printed.find(c.Printed), std::string::npos) << printed;
  }
  for (const char* bad : {"bogus", "set edScanExe", "set =x", "click"})
    EXPECT_THROW(ScriptDrivers(bad), EInvalidOperation) << bad;
}

}  // namespace
}  // namespace tv
