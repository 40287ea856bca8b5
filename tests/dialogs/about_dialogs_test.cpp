// The About dialogs as a person sees them, in German and in English, from
// their stored forms.

#include "dialogs/about_dialogs.h"
#include "dialogs/dialog_classes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dialogs/project_info.h"
#include "dialogs/stored_forms.h"
#include "platform/components/component_stream.h"
#include "platform/components/text_form.h"
#include "platform/system/shell.h"
#include "platform/ui/form_dump.h"
#include "platform/ui/headless/form_operator.h"
#include "platform/ui/headless/headless_backend.h"
#include "tools/tvform/tvform.h"

#include <filesystem>

namespace tv {
namespace {

const char* const kForms[] = {"TwTevrinAbout", "TwTevrinAboutV2"};

TEST(AboutDialogs, StoredFormsRoundTripByteForByte) {
  TTvProjectInfo info(nullptr);  // registers the stored forms
  (void)info;
  for (const char* form : kForms) {
    RegisterStoredForms();
    const std::string* text = FindFormResource(form);
    ASSERT_NE(text, nullptr) << form;
    EXPECT_EQ(ObjectBinaryToText(ObjectTextToBinary(*text)), *text);
    const std::string binary = ObjectTextToBinary(*text);
    EXPECT_EQ(ObjectTextToBinary(ObjectBinaryToText(binary)), binary);
    // Read as a designer reads it and written back: the same form.
    std::unique_ptr<TComponent> root(std::string(form) == "TwTevrinAbout"
                                         ? static_cast<TComponent*>(new TwTevrinAbout(nullptr))
                                         : new TwTevrinAboutV2(nullptr));
    RegisterControlClasses();
    root->SetDesigning();
    TReader::ReadRoot(binary, *root);
    EXPECT_EQ(ObjectBinaryToText(TWriter::WriteRoot(*root)), *text) << form;
  }
}

struct TShown {
  std::string Caption, Dump;
  int LogoWidth = 0, IconWidth = -1;
};

// Shows the dialog of the project information; the driver notes what a
// person sees and closes it.
TShown Show(TTvProjectInfo& info, TtvLanguage language = tlDeutsch) {
  TranslatorList().SetApplicationLanguage(language);
  TShown shown;
  TModalDriverScope driver([&](TCustomForm& form) {
    auto& dialog = static_cast<TwTevrinAboutBase&>(form);
    shown.Caption = dialog.Caption();
    shown.Dump = DumpForm(dialog);
    shown.LogoWidth = dialog.imLogo->Picture().Width();
    if (auto* v2 = dynamic_cast<TwTevrinAboutV2*>(&dialog)) shown.IconWidth = v2->imIcon->Picture().Width();
    TFormOperator(form).PressEnter();
  });
  info.ShowAboutDialog();
  TranslatorList().SetApplicationLanguage(tlDeutsch);
  return shown;
}

TEST(AboutDialogs, CaptionsVersionAndFreewareInBothLanguages) {
  TTvProjectInfo info(nullptr);
  info.SetProjectName("tevrinVexal");
  info.SetVersionMajor(1);
  info.SetVersionMinor(5);
  for (TTvProjectInfoAboutDialogStyle style : {adVersion1, adVersion2}) {
    SCOPED_TRACE(static_cast<int>(style));
    info.SetAboutDialogStyle(style);
    const TShown german = Show(info);
    EXPECT_EQ(german.Caption,
              "Info \xFC"
              "ber tevrinVexal");  // Info über
    EXPECT_NE(german.Dump.find("\"Version 1.05\""), std::string::npos);
    EXPECT_NE(german.Dump.find(
                  "\"Dieses Programm ist Freeware. Es darf ohne Beschr\xE4nkung weitergegeben werden.\""),
              std::string::npos);
    EXPECT_NE(german.Dump.find("Alle Rechte vorbehalten."), std::string::npos);
    const TShown english = Show(info, tlEnglish);
    EXPECT_EQ(english.Caption, "About tevrinVexal");
    EXPECT_NE(english.Dump.find(
                  "\"This program is freeware. It may be freely distributed without any restrictions.\""),
              std::string::npos);
    EXPECT_NE(english.Dump.find("All rights reserved."), std::string::npos);
  }
  EXPECT_EQ(TranslatorList().Count(), 0);  // every dialog gone
}

TEST(AboutDialogs, EmptyNameKeepsTheTranslatedCaptionAndTheSecondNeverTranslatesIt) {
  TTvProjectInfo info(nullptr);
  EXPECT_EQ(Show(info).Caption, "Programminformation");
  EXPECT_EQ(Show(info, tlEnglish).Caption, "Program information");
  info.SetAboutDialogStyle(adVersion2);
  // Its stored caption entry names the first dialog's class and form.
  EXPECT_EQ(Show(info, tlEnglish).Caption, "Programminformation");
}

TEST(AboutDialogs, EveryLabelAtItsPlace) {
  TTvProjectInfo info(nullptr);
  info.SetSupportEMail("help@tevrin.example");
  const std::string first = Show(info).Dump;
  for (const char* line :
       {"TLabel txVersion at 72,20 ", "TLabel txCopyright at 72,36 ",
        "TLabel txFreeware at 72,68 size 253x33 ", "TLabel txEMailLabel at 72,120 size 36x13 \"E-Mail:\"",
        "TLabel txEMail at 148,120 size 120x13 \"help@tevrin.example\"",
        "TLabel txUrl at 148,140 size 110x13 \"www.tevrin.example\"", "TImage imAppIcon at 12,20 size 32x32",
        "TLabel txHomepage at 72,140 size 59x13 \"Homepage:\"", "TBevel Bevel1 at 72,108 size 253x2",
        "TPanel pnTop at 0,0 size 339x39", "TImage imLogo at 4,3 size 166x28",
        "TButton btOk at 256,4 size 75x25 \"Ok\" default cancel"})
    EXPECT_NE(first.find(line), std::string::npos) << line << "\n" << first;
  info.SetAboutDialogStyle(adVersion2);
  const std::string second = Show(info).Dump;
  for (const char* line :
       {"TLabel txVersion at 152,68 ", "TLabel txCopyright at 152,100 ",
        "TLabel txFreeware at 152,132 size 253x33 ", "TLabel txEMailLabel at 152,200 ",
        "TLabel txEMail at 228,200 ", "TLabel txUrl at 228,220 ", "TImage imIcon at 12,20 size 128x128",
        "TLabel txHomepage at 152,220 ", "TBevel Bevel1 at 152,188 size 277x2",
        "TImage imLogo at 148,19 size 166x28", "TButton btOk at 360,6 size 75x25"})
    EXPECT_NE(second.find(line), std::string::npos) << line << "\n" << second;
}

TEST(AboutDialogs, PicturesComeFromTheProjectOnlyWhenItHasThem) {
  TTvProjectInfo info(nullptr);
  info.SetAboutDialogStyle(adVersion2);
  TShown stored = Show(info);
  EXPECT_EQ(stored.LogoWidth, 166);  // the logo stored in the form stays
  EXPECT_EQ(stored.IconWidth, 0);
  TBitmap logo, icon;
  logo.SetSize(40, 10);
  icon.SetSize(64, 64);
  info.SetProjectLogo(logo);
  info.SetProjectIcon(icon);
  TShown own = Show(info);
  EXPECT_EQ(own.LogoWidth, 40);
  EXPECT_EQ(own.IconWidth, 64);
  EXPECT_NE(own.Dump.find("TImage imLogo at 148,19 size 40x10"), std::string::npos);  // sized to its picture
}

TEST(AboutDialogs, LinksOpenMailAndWebAddresses) {
  std::vector<std::string> opened;
  auto previous = sys::SetShellOpenHook([&](const sys::TShellOpen& r) {
    opened.push_back(r.Verb + " " + r.File + " " + std::to_string(r.ShowCommand) +
                     (r.Parameters.empty() ? "" : " ?") + (r.Directory.empty() ? "" : " ?"));
  });
  TTvProjectInfo info(nullptr);
  info.SetSupportEMail("");
  TModalDriverScope driver([](TCustomForm& form) {
    TFormOperator person(form);
    person.Click("txEMail");
    person.Click("txUrl");
    person.PressEscape();
  });
  info.ShowAboutDialog();
  sys::SetShellOpenHook(previous);
  EXPECT_EQ(opened, (std::vector<std::string>{"open mailto: 1", "open http://www.tevrin.example 1"}));
}

TEST(AboutDialogs, OpenNearTheOwnerForm) {
  sys::OverrideDesktop(sys::TRect{0, 0, 1024, 738}, sys::TRect{0, 0, 1024, 768});
  TForm owner(nullptr);
  owner.SetBounds(100, 100, 400, 300);
  auto* info = new TTvProjectInfo(&owner);
  int left = 0, top = 0;
  TModalDriverScope driver([&](TCustomForm& form) {
    left = form.Left();
    top = form.Top();
  });
  info->ShowAboutDialog();
  sys::OverrideDesktop(std::nullopt, std::nullopt);
  EXPECT_EQ(left, 150);
  EXPECT_EQ(top, 150);
  EXPECT_EQ(owner.ComponentCount(), 1);  // the dialog is gone again
}

TEST(AboutDialogs, TvformShowsAndAppliesTheProjectsForms) {
  RegisterDialogClasses();
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  for (const char* form : kForms) {
    const std::string file = (folder / (std::string(form) + "_tvform.dfm")).string();
    std::ofstream(file, std::ios::binary) << *FindFormResource(form);
    std::ostringstream out, err;
    ASSERT_EQ(tvform::Run({"show", file}, out, err), 0) << err.str();
    EXPECT_NE(
        out.str().find("  Translator (TtvTranslator)\n    Version: 2.00\n    Languages: Deutsch, English\n"
                       "    Current language: Deutsch\n"),
        std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("      English: Copyright \xC2\xA9 2026 tevrin. All rights reserved.\n"),
              std::string::npos);
    for (const char* language : {"English", "Deutsch"}) {
      std::ostringstream shown, failed;
      ASSERT_EQ(tvform::Run({"apply", file, language}, shown, failed), 0) << failed.str();
      const bool english = std::string(language) == "English";
      EXPECT_NE(shown.str().find(english ? "\"This program is freeware." : "\"Dieses Programm ist Freeware."),
                std::string::npos)
          << shown.str();
      // Only the first dialog's caption entry matches its own form.
      const bool translatedCaption = english && std::string(form) == "TwTevrinAbout";
      EXPECT_NE(shown.str().find(translatedCaption ? "\"Program information\"" : "\"Programminformation\""),
                std::string::npos);
    }
    std::filesystem::remove(file);
  }
}

}  // namespace
}  // namespace tv
