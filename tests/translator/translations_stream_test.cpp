// The translator's stored data: the newest format byte for byte, every older
// format read, and the refusals of data that cannot be read.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/components/class_registry.h"
#include "platform/components/component_stream.h"
#include "platform/ui/std_controls.h"
#include "tools/tvform/tvform.h"
#include "translator/app_translator.h"
#include "translator/translator.h"

namespace tv {
namespace {

const TTranslatorShared& Shared() {
  return InitializeTranslatorLibrary();
}

// The dialog a translator sits in: a label whose caption is translated.
class TDialogRoot : public TComponent {
  TV_CLASS(TDialogRoot, TComponent)
 public:
  using TComponent::TComponent;
};

// The items of a Translations value, written as a test reads them:
// L for a list begin, E for its end, anything else a string.
struct TValueItems {
  std::vector<std::string> items;
  std::string Bytes() const {
    TItemWriter writer;
    for (const std::string& item : items)
      if (item == "L")
        writer.WriteListBegin();
      else if (item == "E")
        writer.WriteListEnd();
      else
        writer.WriteString(item);
    return writer.Bytes();
  }
};

// A whole stored dialog: the root, a label, and its translator holding Value.
std::string StoredDialog(const std::string& value, const std::string& translatorClass = "TTranslator") {
  TItemWriter w;
  w.Bytes() = "TPF0";
  w.WriteShortString("TDialogRoot");
  w.WriteShortString("wAbout");
  w.WriteListEnd();
  w.WriteShortString("TLabel");
  w.WriteShortString("txInfo");
  w.WriteShortString("Caption");
  w.WriteString("stored");
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteShortString(translatorClass);
  w.WriteShortString("Translator");
  w.WriteShortString("Translations");
  w.Bytes() += value;
  w.WriteListEnd();
  w.WriteListEnd();
  w.WriteListEnd();
  return w.Bytes();
}

struct TReadDialog {
  explicit TReadDialog(const std::string& value, const std::string& translatorClass = "TTranslator")
      : root(nullptr) {
    Shared();
    RegisterComponentClass<TLabel>();
    TReader::ReadRoot(StoredDialog(value, translatorClass), root);
    translator = static_cast<TTranslator*>(root.FindComponent("Translator"));
    label = static_cast<TLabel*>(root.FindComponent("txInfo"));
  }
  std::string Languages() const {
    std::string names;
    for (int i = 0; i < translator->Strings().LanguageCount(); ++i)
      names += (i ? "," : "") + translator->Strings().LanguageName(i);
    return names + " @" + translator->Language();
  }
  std::string Texts(const std::string& component, const std::string& property) const {
    TDataRow* row = translator->Strings().Properties().LocateRow({component, property});
    if (row == nullptr) return "none";
    std::string texts = row->GetFStringValue(Shared().ClassField.get()) + " " +
                        (row->GetFBooleanValue(Shared().TranslateField.get()) ? "T" : "F");
    for (int i = 0; i < translator->Strings().LanguageCount(); ++i)
      texts += "|" + row->GetFStringValue(&translator->Strings().LanguageField(i));
    return texts;
  }
  std::string Rules() const {
    std::string rules;
    for (int i = 0; i < translator->Strings().Rules().RowCount(); ++i)
      if (TDataRow* rule = translator->Strings().Rules().GetDataRow(i))
        rules += rule->GetFStringValue(Shared().ClassField.get()) + "." +
                 rule->GetFStringValue(Shared().PropertyField.get()) + "=" +
                 (rule->GetFBooleanValue(Shared().IncludeSubclassesField.get()) ? "T" : "F") +
                 (rule->GetFBooleanValue(Shared().TranslateField.get()) ? "T" : "F") + " ";
    return rules;
  }
  TDialogRoot root;
  TTranslator* translator;
  TLabel* label;
};

const TValueItems kCurrent{{"L",
                            "Version: 2.00",
                            "Languages",
                            "L",
                            "Deutsch",
                            "English",
                            "E",
                            "Currentlanguage: English",
                            "ShowProperties: spAllAdded",
                            "L",
                            "TLabel.Caption: True, True",
                            "E",
                            "L",
                            "TLabel(txInfo).Caption: True",
                            "L",
                            "Info \xFC"
                            "ber",
                            "About",
                            "E",
                            "TLabel(txInfo).Hint: True",
                            "",
                            "TLabel(txInfo).Tag: False",
                            "E",
                            "L",
                            "About",
                            "L",
                            "Info \xFC"
                            "ber",
                            "About",
                            "E",
                            "E",
                            "E"}};

TEST(TranslationsStream, WrittenAsStoredByteForByteAndReadBack) {
  TReadDialog dialog(kCurrent.Bytes());
  EXPECT_EQ(dialog.Languages(), "Deutsch,English @English");
  EXPECT_EQ(dialog.label->Caption(), "About");  // Loaded applied the current language
  EXPECT_EQ(dialog.translator->GetString("About"), "About");
  EXPECT_EQ(dialog.Texts("txInfo", "Hint"), "TLabel T||");
  EXPECT_EQ(dialog.Texts("txInfo", "Tag"), "TLabel F||");
  // Written back: the label as it shows now, the current language, and the
  // value byte for byte as it was stored.
  const std::string written = TWriter::WriteRoot(dialog.root);
  EXPECT_NE(written.find("\x08Language\x06\x07"
                         "English\x0CTranslations" +
                         kCurrent.Bytes() + '\0'),
            std::string::npos);
  TDialogRoot again(nullptr);
  TReader::ReadRoot(written, again);
  EXPECT_EQ(TWriter::WriteRoot(again), written);
}

TEST(TranslationsStream, EveryOlderFormatIsRead) {
  const struct {
    const char* Name;
    TValueItems Value;
    std::string Languages, Caption, Hint, About;
  } cases[] = {
      {"1.00: one line of languages, numbers for components, texts joined by //",
       {{"L", "Version:1.00", "Languages: Deutsch, English", "Currentlanguage: English", "L",
         "TLabel.Caption: True, True", "E", "L", "TLabel(1234),txInfo.Caption: True",
         "Info/_Sohn//About/_Son", "TLabel(0),txInfo.Hint: False", "Tipp//Hint", "E", "L",
         "About: Info//About", "E", "E"}},
       "Deutsch,English @English",
       "TLabel T|Info/Sohn|About/Son",
       "TLabel F|Tipp|Hint",
       "About"},
      {"1.01: with the ShowProperties line",
       {{"L", "Version: 1.01", "Languages: Deutsch, English", "Currentlanguage: Deutsch",
         "ShowProperties: spTranslatedOnly", "L", "E", "L", "TLabel(7),txInfo.Caption: True", "a//b", "E",
         "L", "E", "E"}},
       "Deutsch,English @Deutsch",
       "TLabel T|a|b",
       "none",
       "[About]"},
      {"1.02: components by name",
       {{"L", "Version: 1.02", "Languages: Deutsch, English", "Currentlanguage: Deutsch",
         "ShowProperties: spAllAdded", "L", "E", "L", "TLabel(txInfo).Caption: True", "a//b", "E", "L", "E",
         "E"}},
       "Deutsch,English @Deutsch",
       "TLabel T|a|b",
       "none",
       "[About]"},
      {"1.03: a list of languages, texts always as a list",
       {{"L",
         "Version: 1.03",
         "Languages",
         "L",
         "Deutsch",
         "English",
         "Dansk",
         "E",
         "Currentlanguage: Dansk",
         "ShowProperties: spAllAdded",
         "L",
         "E",
         "L",
         "TLabel(txInfo).Caption: True",
         "L",
         "a",
         "b",
         "c",
         "E",
         "TLabel(txInfo).Hint: False",
         "L",
         "x",
         "y",
         "z",
         "E",
         "E",
         "L",
         "About",
         "L",
         "Info",
         "About",
         "Om",
         "E",
         "E",
         "E"}},
       "Deutsch,English,Dansk @Dansk",
       "TLabel T|a|b|c",
       "TLabel F|x|y|z",
       "Om"},
      {"2.00: one language fewer, a later line replaces an earlier one, an unknown current language",
       {{"L",
         "Version: 2.00",
         "Languages",
         "L",
         "Deutsch",
         "E",
         "Currentlanguage: Klingon",
         "ShowProperties: spAllAdded",
         "L",
         "TLabel.Caption: False, True",
         "TLabel.Caption: True, False",
         "E",
         "L",
         "TLabel(txInfo).Caption: True",
         "first",
         "TLabel(txInfo).Caption: True",
         "second",
         "E",
         "L",
         "E",
         "E"}},
       "Deutsch @Deutsch",
       "TLabel T|second",
       "none",
       "[About]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TReadDialog dialog(c.Value.Bytes());
    EXPECT_EQ(dialog.Languages(), c.Languages);
    EXPECT_EQ(dialog.Texts("txInfo", "Caption"), c.Caption);
    EXPECT_EQ(dialog.Texts("txInfo", "Hint"), c.Hint);
    EXPECT_EQ(dialog.translator->GetString("About"), c.About);
  }
  // tvform reads each format alike, from a binary form file.
  RegisterComponentClass<TDialogRoot>();
  const std::string file = (std::filesystem::temp_directory_path() / "tvform_versions.bin").string();
  for (const auto& c : cases) {
    std::ofstream(file, std::ios::binary) << StoredDialog(c.Value.Bytes());
    std::ostringstream out, err;
    ASSERT_EQ(tvform::Run({"show", file, "--json"}, out, err), 0) << err.str();
    const std::string version = c.Value.items[1].substr(c.Value.items[1].find(':') + 1);
    EXPECT_NE(out.str().find("\"version\": \"" + version.substr(version.find_first_not_of(' ')) + "\""),
              std::string::npos)
        << out.str();
    EXPECT_NE(
        out.str().find("\"currentLanguage\": \"" + c.Languages.substr(c.Languages.find('@') + 1) + "\""),
        std::string::npos)
        << out.str();
  }
  std::filesystem::remove(file);
  TReadDialog last(cases[4].Value.Bytes());
  EXPECT_EQ(last.Rules(), "TLabel.Caption=TF ");
  TReadDialog oldest(cases[0].Value.Bytes());
  TDataRow* entry = oldest.translator->Strings().Properties().LocateRow({"txInfo", "Caption"});
  EXPECT_EQ(ObjectType()->GetAsObject(entry->GetFieldValue(Shared().PointerField.get())), oldest.label);
}

TEST(TranslationsStream, EqualLongAndEmptyTextsAreWrittenInTheirForms) {
  TReadDialog dialog(kCurrent.Bytes());
  TTranslatedStrings& s = dialog.translator->Strings();
  const std::string longName(256, 'x');  // texts hold 255 characters; names have no limit
  s.RenameLanguage(0, longName);
  TDataRow* hint = s.Properties().LocateRow({"txInfo", "Hint"});
  hint->SetFStringValue(&s.LanguageField(0), "Tipp");
  const std::string written = TWriter::WriteRoot(dialog.root);
  EXPECT_NE(written.find("\x0C" + std::string("\x00\x01\x00\x00", 4) + longName), std::string::npos);
  EXPECT_NE(written.find("TLabel(txInfo).Hint: True\x01\x06\x04Tipp\x06\x00\x00"), std::string::npos);
  TDialogRoot copy(nullptr);
  TReader::ReadRoot(written, copy);
  auto* copied = static_cast<TTranslator*>(copy.FindComponent("Translator"));
  EXPECT_EQ(copied->Strings().LanguageName(0), longName);

  // Without languages a translated entry has an empty list of texts.
  TTranslator bare(nullptr);
  bare.Strings().RemoveLanguage(1);
  bare.SetLanguageIndex(-1);
  bare.Strings().RemoveLanguage(0);
  auto entry = bare.Strings().NewEntry();
  entry->SetFStringValue(Shared().ComponentField.get(), "txInfo");
  entry->SetFStringValue(Shared().PropertyField.get(), "Caption");
  entry->SetFStringValue(Shared().ClassField.get(), "TLabel");
  entry->SetFBooleanValue(Shared().TranslateField.get(), true);
  bare.Strings().AddEntry(std::move(entry));
  const std::string alone = TWriter::WriteRoot(bare);
  EXPECT_NE(alone.find(std::string("TLabel(txInfo).Caption: True\x01\x00", 30)), std::string::npos);
  EXPECT_NE(alone.find(std::string("\x09Languages\x01\x00", 12)), std::string::npos);
}

// Thousands of languages (a form may come from anywhere) are read whole,
// each with its texts, the current one where the stream says.
TEST(TranslationsStream, ThousandsOfLanguagesAreReadWithTheirTexts) {
  constexpr int kLanguages = 3000;
  TValueItems stream{{"L", "Version: 2.00", "Languages", "L"}};
  for (int i = 0; i < kLanguages; ++i) stream.items.push_back("Language" + std::to_string(i));
  for (const char* item : {"E", "Currentlanguage: Language2999", "ShowProperties: spAllAdded", "L",
                           "TLabel.Caption: True, True", "E", "L", "TLabel(txInfo).Caption: True", "L"})
    stream.items.push_back(item);
  for (int i = 0; i < kLanguages; ++i) stream.items.push_back("Text " + std::to_string(i));
  for (const char* item : {"E", "E", "L", "E", "E"}) stream.items.push_back(item);
  TReadDialog dialog(stream.Bytes());
  TTranslatedStrings& s = dialog.translator->Strings();
  ASSERT_EQ(s.LanguageCount(), kLanguages);
  EXPECT_EQ(dialog.translator->Language(), "Language2999");
  EXPECT_EQ(dialog.label->Caption(), "Text 2999");
  TDataRow* entry = s.Properties().LocateRow({"txInfo", "Caption"});
  ASSERT_NE(entry, nullptr);
  for (int i : {0, 1, 2, 1500, kLanguages - 1}) {
    EXPECT_EQ(s.LanguageName(i), "Language" + std::to_string(i));
    EXPECT_EQ(entry->GetFStringValue(&s.LanguageField(i)), "Text " + std::to_string(i));
  }
}

TEST(TranslationsStream, DataThatCannotBeReadIsRefusedWithItsReason) {
  auto value = [](std::vector<std::string> head) {
    TValueItems items{{"L"}};
    items.items.insert(items.items.end(), head.begin(), head.end());
    return items.Bytes();
  };
  const std::string prefix = "Error reading Translator.Translations: ";
  const struct {
    std::string Value;
    std::string Message;
  } cases[] = {
      {value({"Version: 2.1"}), prefix + "Invalid version number!"},
      {value({"Version: 2.01"}),
       prefix +
           "Cannot read dfm! Your TTranslator version is 2.10, but the dfm is saved using a newer version!"},
      {value({"Version: two.00"}), prefix + "'two' is not a valid integer value"},
      {value({"Version: 2.00", "Sprachen"}), prefix + "Error reading Languages!"},
      {value({"Version: 2.00", "Languages", "L", "Deutsch", "Deutsch", "E"}),
       prefix + "Languagename 'Deutsch' is used more than once!"},
      // The first pair by its first, then its second place.
      {value({"Version: 2.00", "Languages", "L", "A", "B", "C", "B", "A", "E"}),
       prefix + "Languagename 'A' is used more than once!"},
      {value({"Version: 1.00", "Languages: Deutsch, English", "Currentlanguage: Deutsch", "L", "E", "L",
              "TLabel(0x1F),txInfo.Caption: True"}),
       prefix + "'0x1F' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    try {
      TReadDialog dialog(c.Value);
      ADD_FAILURE() << c.Message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
  // A list of texts that holds fewer or more strings than there are languages.
  for (const std::vector<std::string>& texts :
       {std::vector<std::string>{"nur eins"}, std::vector<std::string>{"eins", "zwei", "drei"}}) {
    std::vector<std::string> items = {"Version: 2.00",
                                      "Languages",
                                      "L",
                                      "Deutsch",
                                      "English",
                                      "E",
                                      "Currentlanguage: Deutsch",
                                      "ShowProperties: spAllAdded",
                                      "L",
                                      "E",
                                      "L",
                                      "TLabel(txInfo).Caption: True",
                                      "L"};
    items.insert(items.end(), texts.begin(), texts.end());
    items.push_back("E");
    try {
      TReadDialog dialog(value(items));
      ADD_FAILURE() << texts.size();
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message().rfind("Invalid property value at position ", 0), 0u) << e.Message();
    }
  }
}

TEST(ApplicationTranslator, DialogsShowTheApplicationLanguageWhenTheyHaveIt) {
  EXPECT_EQ(TranslatorList().ApplicationLanguageName(), "Deutsch");
  {
    TReadDialog english(kCurrent.Bytes(), "TtvTranslator");  // stored with English current
    EXPECT_EQ(english.translator->ClassName(), "TtvTranslator");
    EXPECT_EQ(english.Languages(), "Deutsch,English @Deutsch");
    EXPECT_EQ(english.label->Caption(),
              "Info \xFC"
              "ber");
    TValueItems withoutGerman = kCurrent;
    withoutGerman.items[4] = "Dansk";
    TReadDialog danish(withoutGerman.Bytes(), "TtvTranslator");
    EXPECT_EQ(danish.Languages(), "Dansk,English @English");
    EXPECT_EQ(danish.label->Caption(), "About");
    EXPECT_EQ(TranslatorList().Count(), 2);
    EXPECT_EQ(TranslatorList().Items(0), english.translator);
  }
  EXPECT_EQ(TranslatorList().Count(), 0);  // every dialog gone, every translator gone
}

}  // namespace
}  // namespace tv
