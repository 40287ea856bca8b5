// Putting a language onto a dialog of the headless UI and collecting what
// its controls show, through published properties by name.

#include <gtest/gtest.h>

#include "platform/components/published.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"
#include "translator/translator.h"

namespace tv {
namespace {

const char* const kDialogForm = R"(object wDialog: TwDialog
  Caption = 'Programminformation'
  ClientWidth = 200
  ClientHeight = 100
  object Translator: TTranslator
  end
  object txTitle: TLabel
    Left = 8
    Top = 8
    Width = 100
    Height = 13
    Hint = 'Hinweis'
    Caption = 'Titel'
  end
  object txKeep: TLabel
    Left = 8
    Top = 28
    Width = 100
    Height = 13
    Caption = 'bleibt'
  end
  object mmText: TMemo
    Left = 8
    Top = 48
    Width = 100
    Height = 40
    TabOrder = 0
    Lines.Strings = (
      'eins'
      'zwei'
      'drei')
  end
end
)";

class TwDialog : public TForm {
  TV_PUBLISHED_CLASS(TwDialog, TForm)
 public:
  explicit TwDialog(TComponent* owner) : TForm(owner) {}
  TTranslator* Translator = nullptr;
  TLabel *txTitle = nullptr, *txKeep = nullptr;
  TMemo* mmText = nullptr;
};

void TwDialog::PublishOwn() {
  RegisterFields(StaticClassInfo(),
                 {Field("Translator", &TwDialog::Translator), Field("txTitle", &TwDialog::txTitle),
                  Field("txKeep", &TwDialog::txKeep), Field("mmText", &TwDialog::mmText)});
}

const TTranslatorShared& Shared() {
  return InitializeTranslatorLibrary();
}

void Rule(TTranslator& t, const std::string& className, const std::string& property, bool translate) {
  auto row = std::make_unique<TDataRow>(Shared().RulesTable.get());
  row->SetFStringValue(Shared().ClassField.get(), className);
  row->SetFStringValue(Shared().PropertyField.get(), property);
  row->SetFBooleanValue(Shared().IncludeSubclassesField.get(), true);
  row->SetFBooleanValue(Shared().TranslateField.get(), translate);
  t.Strings().Rules().InsertRow(row);
}

void Entry(TTranslator& t, const std::string& component, const std::string& property, bool translate,
           const std::string& german, const std::string& english) {
  auto row = t.Strings().NewEntry();
  row->SetFStringValue(Shared().ComponentField.get(), component);
  row->SetFStringValue(Shared().PropertyField.get(), property);
  row->SetFBooleanValue(Shared().TranslateField.get(), translate);
  row->SetFStringValue(&t.Strings().LanguageField(0), german);
  row->SetFStringValue(&t.Strings().LanguageField(1), english);
  t.Strings().Properties().InsertRow(row);
}

// A dialog whose translator knows German and English, as the About
// dialogs' translators do; owned by the application unless told otherwise.
TwDialog* Dialog(TComponent* owner = &Application()) {
  Shared();
  RegisterFormResource("TwDialog", kDialogForm);
  TwDialog* dialog = owner != nullptr ? CreateForm<TwDialog>(*owner) : CreateForm<TwDialog>().release();
  TTranslator& t = *dialog->Translator;
  t.Strings().RenameLanguage(0, "Deutsch");
  t.Strings().RenameLanguage(1, "English");
  Rule(t, "TLabel", "Caption", true);
  Rule(t, "TwDialog", "Caption", true);
  Rule(t, "TMemo", "Lines[]", true);
  Rule(t, "TLabel", "Missing", true);  // a property no label has
  Entry(t, "wDialog", "Caption", true, "Programminformation", "Program information");
  Entry(t, "txTitle", "Caption", true, "Titel", "Title");
  Entry(t, "txKeep", "Caption", false, "bleibt", "bleibt");
  Entry(t, "mmText", "Lines[0]", true, "eins", "one");
  Entry(t, "mmText", "Lines[1]", false, "zwei", "two");
  return dialog;
}

std::string Shown(const TwDialog& d) {
  return d.Caption() + "|" + d.txTitle->Caption() + "|" + d.txKeep->Caption() + "|" + d.txTitle->Hint() +
         "|" + d.mmText->Text();
}

TEST(ApplyingALanguage, SwitchingBothWaysChangesExactlyTheTranslatedTexts) {
  std::unique_ptr<TwDialog> d(Dialog(nullptr));
  new TLabel(d.get());  // a label without a name is passed by
  d->Translator->SetLanguage("English");
  EXPECT_EQ(Shown(*d), "Program information|Title|bleibt|Hinweis|one\r\nzwei\r\ndrei");
  EXPECT_EQ(d->Translator->Language(), "English");
  EXPECT_EQ(d->mmText->Lines().Count(), 3);  // lines without a translated entry stay
  d->Translator->SetLanguage("Deutsch");
  EXPECT_EQ(Shown(*d), "Programminformation|Titel|bleibt|Hinweis|eins\r\nzwei\r\ndrei");
}

TEST(ApplyingALanguage, TextsTypedInALanguageComeBackWithIt) {
  std::unique_ptr<TwDialog> d(Dialog(nullptr));
  TTranslator& t = *d->Translator;
  t.SetLanguage("English");
  d->txTitle->SetCaption("My title");  // translated: kept for English
  d->txKeep->SetCaption("changed");    // untranslated: kept in every language
  d->mmText->Lines().Put(0, "first");
  d->mmText->Lines().Add("four");  // a line with a rule but no entry yet
  t.SetLanguage("Deutsch");
  EXPECT_EQ(Shown(*d), "Programminformation|Titel|changed|Hinweis|eins\r\nzwei\r\ndrei\r\nfour");
  t.SetLanguage("English");
  EXPECT_EQ(Shown(*d), "Program information|My title|changed|Hinweis|first\r\nzwei\r\ndrei\r\nfour");
  // The collected line became an entry with its text in both languages.
  TDataRow* line = t.Strings().Properties().LocateRow({"mmText", "Lines[3]"});
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->GetFStringValue(&t.Strings().LanguageField(0)), "four");
  EXPECT_EQ(line->GetFStringValue(Shared().ClassField.get()), "TMemo");
}

TEST(ApplyingALanguage, UnknownAndCurrentNamesChangeNothingAndEventsFireOnce) {
  std::unique_ptr<TwDialog> d(Dialog(nullptr));
  TTranslator& t = *d->Translator;
  std::vector<std::string> events;
  t.BeforeTranslate = [&](TTranslator* sender, std::string from, std::string to) {
    events.push_back("before " + from + ">" + to + (sender == &t ? "" : " other") + " " +
                     d->txTitle->Caption());
  };
  t.AfterTranslated = [&](TTranslator*, std::string from, std::string to) {
    events.push_back("after " + from + ">" + to + " " + d->txTitle->Caption());
  };
  t.SetLanguage("Deutsch");  // current already
  try {
    t.SetLanguage("Kling'on");
    ADD_FAILURE();
  } catch (const ETranslatorError& e) {
    EXPECT_EQ(e.Message(), "Unknown language 'Kling''on'");
  }
  EXPECT_THROW(t.SetLanguage("english"), ETranslatorError);  // names count case
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(Shown(*d), "Programminformation|Titel|bleibt|Hinweis|eins\r\nzwei\r\ndrei");
  t.SetLanguage("English");
  EXPECT_EQ(events,
            (std::vector<std::string>{"before Deutsch>English Titel", "after Deutsch>English Title"}));
}

TEST(ApplyingALanguage, PassingOnReachesTheApplicationsOtherDialogsOnce) {
  TwDialog* first = Dialog();
  TwDialog* second = Dialog();
  EXPECT_EQ(second->Name(), "wDialog_1");  // a second instance beside the first
  second->SetName("wSecond");
  TwDialog* lacking = Dialog();
  EXPECT_EQ(lacking->Name(), "wDialog_1");
  lacking->Translator->Strings().RenameLanguage(1,
                                                "Fran\xE7"
                                                "ais");  // Français
  int secondSwitches = 0;
  second->Translator->BeforeTranslate = [&](TTranslator*, std::string, std::string) { ++secondSwitches; };
  first->Translator->SetTranslateApplication(true);
  first->Translator->SetLanguage("English");
  EXPECT_EQ(second->txTitle->Caption(), "Title");
  EXPECT_EQ(secondSwitches, 1);
  EXPECT_EQ(lacking->Caption(), "Programminformation");
  EXPECT_EQ(lacking->Translator->Language(), "Deutsch");

  // A dialog read while the application translator shows English takes its
  // languages and starts in English.
  std::unique_ptr<TwDialog> later = CreateForm<TwDialog>();
  EXPECT_EQ(later->Translator->Language(), "English");
  delete first;
  delete second;
  delete lacking;
}

TEST(ApplyingALanguage, ADialogReadBesideAnApplicationTranslatorTakesItsLanguage) {
  TTranslator application(nullptr);
  application.SetTranslateApplication(true);
  application.Strings().RenameLanguage(0, "Deutsch");
  application.Strings().RenameLanguage(1, "English");
  application.SetLanguageIndex(1);
  // Languages come from the application translator at creation; the texts
  // of a stored form would come with it, so here the pass is run again.
  std::unique_ptr<TwDialog> d(Dialog(nullptr));
  EXPECT_EQ(d->Translator->Strings().LanguageName(1), "English");
  d->Translator->Loaded();
  EXPECT_EQ(d->Translator->Language(), "English");
  EXPECT_EQ(Shown(*d), "Program information|Title|bleibt|Hinweis|one\r\nzwei\r\ndrei");
  d->Translator->SetState(csDesigning);  // a designer keeps what it has
  d->Translator->SetLanguageIndex(0);
  d->Translator->Loaded();
  EXPECT_EQ(d->Translator->Language(), "Deutsch");
}

}  // namespace
}  // namespace tv
