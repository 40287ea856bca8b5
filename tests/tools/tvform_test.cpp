// tvform on a stored dialog, end to end: files in, output and files out.

#include "tools/tvform/tvform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/components/component_stream.h"
#include "platform/components/text_form.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"
#include "tests/support/test_support.h"
#include "translator/app_translator.h"

namespace tv {
namespace {

namespace fs = std::filesystem;

// A dialog as the About dialogs store theirs: a German and an English text
// for its caption and a label, one untranslated label, a named string.
std::string StoredDialogText() {
  InitializeTranslatorLibrary();
  RegisterControlClasses();
  TForm form(nullptr);
  form.SetName("wInfo");
  form.SetCaption("Programminformation");
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  auto* t = new TtvTranslator(&form);
  t->SetName("Translator");
  auto* label = new TLabel(&form);
  label->SetName("txFreeware");
  label->SetCaption("Freeware f\xFCr alle");  // für
  auto* mail = new TLabel(&form);
  mail->SetName("txEMail");
  mail->SetCaption("info@example.org");
  TTranslatedStrings& s = t->Strings();
  s.RenameLanguage(0, "Deutsch");
  s.RenameLanguage(1, "English");
  const TTranslatorShared& f = InitializeTranslatorLibrary();
  for (const char* cls : {"TLabel", "TForm"}) {
    auto rule = std::make_unique<TDataRow>(f.RulesTable.get());
    rule->SetFStringValue(f.ClassField.get(), cls);
    rule->SetFStringValue(f.PropertyField.get(), "Caption");
    rule->SetFBooleanValue(f.IncludeSubclassesField.get(), true);
    rule->SetFBooleanValue(f.TranslateField.get(), true);
    s.Rules().InsertRow(rule);
  }
  t->CollectTexts();
  TDataRow* entry = s.Properties().LocateRow({"txFreeware", "Caption"});
  entry->SetFStringValue(&s.LanguageField(1), "Freeware for all");
  s.Properties().LocateRow({"wInfo", "Caption"})->SetFStringValue(&s.LanguageField(1), "Program information");
  s.Properties().LocateRow({"txEMail", "Caption"})->SetFBooleanValue(f.TranslateField.get(), false);
  auto named = s.NewNamedString();
  named->SetFStringValue(f.PropertyField.get(), "About");
  named->SetFStringValue(&s.LanguageField(0),
                         "Info \xFC"
                         "ber");
  named->SetFStringValue(&s.LanguageField(1), "About");
  s.NamedStrings().InsertRow(named);
  return ObjectBinaryToText(TWriter::WriteRoot(form));
}

struct TTool {
  // A folder of its own: the tests run in parallel processes.
  TTool() : folder(temp.Path()) {
    form = (folder / "wInfo.dfm").string();
    Write(form, StoredDialogText());
  }
  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return tvform::Run(args, out, err);
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  test::TTempDir temp;
  fs::path folder;
  std::string form;
  std::ostringstream out, err;
};

TEST(Tvform, ShowsEveryTranslatorInTextAndJson) {
  TTool tool;
  ASSERT_EQ(tool.Run({"show", tool.form}), 0) << tool.err.str();
  EXPECT_EQ(tool.out.str(), tool.form +
                                ": TForm wInfo\n"
                                "  Translator (TtvTranslator)\n"
                                "    Version: 2.00\n"
                                "    Languages: Deutsch, English\n"
                                "    Current language: Deutsch\n"
                                "    ShowProperties: spAllAdded\n"
                                "    Rules:\n"
                                "      TForm.Caption: True, True\n"
                                "      TLabel.Caption: True, True\n"
                                "    Entries:\n"
                                "    TLabel(txEMail).Caption: False\n"
                                "    TLabel(txFreeware).Caption: True\n"
                                "      Deutsch: Freeware f\xC3\xBCr alle\n"
                                "      English: Freeware for all\n"
                                "    TForm(wInfo).Caption: True\n"
                                "      Deutsch: Programminformation\n"
                                "      English: Program information\n"
                                "    Named strings:\n"
                                "    About\n"
                                "      Deutsch: Info \xC3\xBC"
                                "ber\n"
                                "      English: About\n");
  ASSERT_EQ(tool.Run({"show", tool.form, "--json"}), 0);
  const std::string json = tool.out.str();
  EXPECT_NE(json.find("\"languages\": [\"Deutsch\", \"English\"], \"currentLanguage\": \"Deutsch\""),
            std::string::npos);
  EXPECT_NE(json.find("{\"name\": \"About\", \"texts\": {\"Deutsch\": \"Info \xC3\xBC"
                      "ber\", \"English\": \"About\"}}"),
            std::string::npos);
  EXPECT_NE(json.find("{\"class\": \"TLabel\", \"component\": \"txEMail\", \"property\": \"Caption\", "
                      "\"translate\": false"),
            std::string::npos);
}

TEST(Tvform, ConvertsBothWaysByteForByte) {
  TTool tool;
  const std::string binary = (tool.folder / "wInfo.bin").string(), back = (tool.folder / "back.dfm").string();
  ASSERT_EQ(tool.Run({"convert", tool.form, binary}), 0) << tool.err.str();
  EXPECT_EQ(TTool::Read(binary).substr(0, 4), "TPF0");
  ASSERT_EQ(tool.Run({"convert", binary, back}), 0);
  EXPECT_EQ(TTool::Read(back), TTool::Read(tool.form));
  ASSERT_EQ(tool.Run({"show", binary}), 0);  // binary forms are read alike
}

TEST(Tvform, AppliesALanguageAsAPersonWouldSeeIt) {
  TTool tool;
  ASSERT_EQ(tool.Run({"apply", tool.form, "English"}), 0) << tool.err.str();
  EXPECT_NE(tool.out.str().find("TForm wInfo at 0,0 size 308x227 \"Program information\""), std::string::npos)
      << tool.out.str();
  EXPECT_NE(tool.out.str().find("TLabel txFreeware at 0,0 size 0x0 \"Freeware for all\""), std::string::npos);
  ASSERT_EQ(tool.Run({"apply", tool.form, "Deutsch"}), 0);
  EXPECT_NE(tool.out.str().find("\"Freeware f\xC3\xBCr alle\""), std::string::npos);
}

TEST(Tvform, EditsChangeOnlyWhatTheyName) {
  TTool tool;
  const std::string before = TTool::Read(tool.form);
  ASSERT_EQ(tool.Run({"set", tool.form, "txFreeware.Caption", "English", "Free for \xE2\x82\xAC 0"}), 0)
      << tool.err.str();  // € is in the code page
  std::string expected = before;
  expected.replace(expected.find("'Freeware for all'"), 18, "'Free for '#128' 0'");
  EXPECT_EQ(TTool::Read(tool.form), expected);
  ASSERT_EQ(tool.Run({"set", tool.form, "wInfo.Caption", "Deutsch", "Info"}), 0);
  EXPECT_NE(TTool::Read(tool.form).find("  Caption = 'Info'\n"), std::string::npos);  // the form shows it
  ASSERT_EQ(tool.Run({"set-string", tool.form, "About", "English", "About it"}), 0);
  ASSERT_EQ(tool.Run({"add-language", tool.form, "Dansk", "--copy-from", "English"}), 0);
  ASSERT_EQ(tool.Run({"show", tool.form, "--json"}), 0);
  EXPECT_NE(tool.out.str().find("\"English\": \"About it\", \"Dansk\": \"About it\""), std::string::npos)
      << tool.out.str();
}

TEST(Tvform, FailuresNameTheFileAndTheItemWithTheirExitCode) {
  TTool tool;
  TTool::Write((tool.folder / "broken.dfm").string(), "object wInfo: TForm\n  Caption = 'open\nend\n");
  const std::string broken = (tool.folder / "broken.dfm").string();
  const struct {
    std::vector<std::string> Args;
    int Code;
    std::string Error;
  } cases[] = {
      {{"show", (tool.folder / "missing.dfm").string()},
       1,
       (tool.folder / "missing.dfm").string() + ": cannot be read"},
      {{"set", tool.form, "txNone.Caption", "English", "x"},
       1,
       tool.form + ": Translator has no entry txNone.Caption"},
      {{"set", tool.form, "txFreeware.Caption", "Klingon", "x"},
       1,
       tool.form + ": Translator has no language Klingon"},
      {{"set-string", tool.form, "Missing", "English", "x"},
       1,
       tool.form + ": Translator has no named string Missing"},
      {{"set", tool.form, "txFreeware.Caption", "English", "\xE4\xB8\xAD"},
       2,
       "TEXT is no UTF-8 text of characters of Windows-1252"},
      {{"add-language", tool.form, "English"},
       2,
       tool.form + ": Translator: Languagename 'English' is already used!"},
      {{"show", broken}, 2, broken + ": Line 2: unterminated string"},
      {{"frobnicate"}, 2, "unknown command frobnicate (tvform --help lists them)"},
      {{"set", tool.form}, 2, "usage: tvform set FILE COMPONENT.PROPERTY LANGUAGE TEXT"},
      // A text that its column would cut.
      {{"set", tool.form, "txFreeware.Caption", "English", std::string(300, 'x')},
       2,
       "TEXT has 300 characters; a translation holds at most 255"},
      {{"set-string", tool.form, "About", "English", std::string(256, 'x')},
       2,
       "TEXT has 256 characters; a translation holds at most 255"},
      // Options: unknown ones, values missing or given where none is taken.
      {{"show", "--frob", tool.form}, 2, "unknown option --frob"},
      {{"convert", tool.form, "--json", tool.form + ".out"}, 2, "unknown option --json"},
      {{"show", tool.form, "--json=yes"}, 2, "--json takes no value"},
      {{"add-language", tool.form, "Dansk", "--copy-from"}, 2, "--copy-from needs a value"},
      {{"set", tool.form, "txFreeware.Caption", "English", "--dashes"}, 2, "unknown option --dashes"},
      {{"--json"}, 2, "no command given (tvform --help lists them)"},
  };
  const std::string before = TTool::Read(tool.form);
  for (const auto& c : cases) {
    EXPECT_EQ(tool.Run(c.Args), c.Code) << c.Error;
    EXPECT_EQ(tool.err.str(), "tvform: " + c.Error + "\n");
  }
  EXPECT_EQ(TTool::Read(tool.form), before);  // nothing refused touched the file
  // A read-only form stays as it is, as Windows would keep it.
  namespace fs = std::filesystem;
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
  fs::permissions(tool.form, readOnly);
  EXPECT_EQ(tool.Run({"set", tool.form, "txFreeware.Caption", "English", "x"}), 2);
  EXPECT_EQ(tool.err.str(), "tvform: " + tool.form + ": is read-only and was not changed\n");
  EXPECT_EQ(TTool::Read(tool.form), before);
  fs::permissions(tool.form, fs::perms::owner_write, fs::perm_options::add);
  if (!test::OnWindows()) {  // a written form keeps its mode bits
    EXPECT_EQ(tool.Run({"set", tool.form, "txFreeware.Caption", "English", "x"}), 0);
    EXPECT_EQ(fs::status(tool.form).permissions(), readOnly | fs::perms::owner_write);
  }
  EXPECT_EQ(tool.Run({"--help"}), 0);
  EXPECT_NE(tool.out.str().find("usage: tvform COMMAND"), std::string::npos);
  EXPECT_EQ(tool.Run({}), 2);
}

// Options stand anywhere; "--" ends them; a text of the column's full
// length is taken whole.
TEST(Tvform, OptionsStandAnywhereAndDashDashEndsThem) {
  TTool tool;
  ASSERT_EQ(tool.Run({"show", tool.form, "--json"}), 0);
  const std::string json = tool.out.str();
  for (const std::vector<std::string>& args : {std::vector<std::string>{"show", "--json", tool.form},
                                               std::vector<std::string>{"--json", "show", tool.form}}) {
    EXPECT_EQ(tool.Run(args), 0) << tool.err.str();
    EXPECT_EQ(tool.out.str(), json);
  }
  EXPECT_EQ(tool.Run({"add-language", "--copy-from", "English", tool.form, "Dansk"}), 0) << tool.err.str();
  EXPECT_EQ(tool.Run({"add-language", tool.form, "--copy-from=Deutsch", "Norsk"}), 0) << tool.err.str();
  EXPECT_EQ(tool.Run({"set", tool.form, "txFreeware.Caption", "Dansk", "--", "--dashes--"}), 0)
      << tool.err.str();
  const std::string longest(255, 'y');
  EXPECT_EQ(tool.Run({"set-string", tool.form, "About", "Norsk", longest}), 0) << tool.err.str();
  ASSERT_EQ(tool.Run({"show", tool.form}), 0);
  const std::string shown = tool.out.str();
  for (const std::string& line :
       {std::string("Languages: Deutsch, English, Dansk, Norsk"), std::string("Dansk: --dashes--"),
        "Norsk: " + longest, std::string("Norsk: Freeware f\xC3\xBCr alle")})
    EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
}

TEST(Tvform, CodePageConversionsAgree) {
  std::string ansi;
  for (int c = 0; c < 256; ++c) {
    const std::string one(1, static_cast<char>(c));
    ASSERT_TRUE(tvform::Utf8ToAnsi(tvform::AnsiToUtf8(one), ansi)) << c;
    EXPECT_EQ(ansi, one) << c;
  }
  EXPECT_EQ(tvform::AnsiToUtf8("\x80\xFC"), "\xE2\x82\xAC\xC3\xBC");
  EXPECT_FALSE(tvform::Utf8ToAnsi("\xC3", ansi));              // cut short
  EXPECT_FALSE(tvform::Utf8ToAnsi("\xF0\x9F\x98\x80", ansi));  // outside the code page
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// Binary forms as they lie on disk, in a resource header: read by every
// command, kept by those that write the form back, made by convert
// --resource.
TEST(Tvform, ResourceWrappedFormsAreReadAndKept) {
  TTool tool;
  const std::string wrapped = (tool.folder / "wInfo.res").string(),
                    back = (tool.folder / "back.dfm").string();
  ASSERT_EQ(tool.Run({"convert", tool.form, wrapped, "--resource"}), 0) << tool.err.str();
  const std::string bytes = TTool::Read(wrapped);
  const std::string header = std::string("\xFF\x0A\x00TFORM\x00\x30\x10", 11);
  ASSERT_EQ(bytes.substr(0, header.size()), header);
  const std::uint32_t size = static_cast<unsigned char>(bytes[11]) |
                             static_cast<unsigned char>(bytes[12]) << 8 |
                             static_cast<unsigned char>(bytes[13]) << 16;
  EXPECT_EQ(size, bytes.size() - 15);
  EXPECT_EQ(bytes.substr(15, 4), "TPF0");
  ASSERT_EQ(tool.Run({"convert", wrapped, back}), 0) << tool.err.str();
  EXPECT_EQ(TTool::Read(back), TTool::Read(tool.form));

  ASSERT_EQ(tool.Run({"set", wrapped, "txFreeware.Caption", "English", "Free"}), 0) << tool.err.str();
  EXPECT_EQ(TTool::Read(wrapped).substr(0, header.size()), header);
  ASSERT_EQ(tool.Run({"show", wrapped}), 0) << tool.err.str();
  EXPECT_NE(tool.out.str().find("Free"), std::string::npos);

  std::string cut = TTool::Read(wrapped);
  cut.pop_back();
  TTool::Write(wrapped, cut);
  EXPECT_EQ(tool.Run({"convert", wrapped, back}), 2);
  EXPECT_NE(tool.err.str().find("Resource header gives"), std::string::npos) << tool.err.str();
}

}  // namespace
}  // namespace tv
