// The translator's data: languages and the current index, named strings,
// the rules that apply to a class chain, entries and their marking.

#include "translator/translated_strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <new>

#include "data/types/data_types.h"
#include "translator/translator.h"

namespace tv {
namespace {

const TTranslatorShared& Shared() {
  return InitializeTranslatorLibrary();
}

std::string Languages(const TTranslator& t) {
  std::string names;
  for (int i = 0; i < t.Strings().LanguageCount(); ++i) names += (i ? "," : "") + t.Strings().LanguageName(i);
  return names + " @" + std::to_string(t.LanguageIndex());
}

void AddNamedString(TTranslatedStrings& s, const std::string& name, const std::vector<std::string>& texts) {
  auto row = s.NewNamedString();
  row->SetFStringValue(Shared().PropertyField.get(), name);
  for (std::size_t i = 0; i < texts.size(); ++i)
    row->SetFStringValue(&s.LanguageField(static_cast<int>(i)), texts[i]);
  ASSERT_EQ(s.NamedStrings().InsertRow(row), prInserted);
}

TDataRow* AddEntry(TTranslatedStrings& s, const std::string& component, const std::string& property,
                   bool translate, const std::vector<std::string>& texts) {
  auto row = s.NewEntry();
  row->SetFStringValue(Shared().ComponentField.get(), component);
  row->SetFStringValue(Shared().PropertyField.get(), property);
  row->SetFBooleanValue(Shared().TranslateField.get(), translate);
  for (std::size_t i = 0; i < texts.size(); ++i)
    row->SetFStringValue(&s.LanguageField(static_cast<int>(i)), texts[i]);
  TDataRow* placed = row.get();
  EXPECT_EQ(s.Properties().InsertRow(row), prInserted);
  return placed;
}

void AddRule(TTranslatedStrings& s, const std::string& className, const std::string& property,
             bool subclasses, bool translate) {
  auto row = std::make_unique<TDataRow>(Shared().RulesTable.get());
  row->SetFStringValue(Shared().ClassField.get(), className);
  row->SetFStringValue(Shared().PropertyField.get(), property);
  row->SetFBooleanValue(Shared().IncludeSubclassesField.get(), subclasses);
  row->SetFBooleanValue(Shared().TranslateField.get(), translate);
  ASSERT_EQ(s.Rules().InsertRow(row), prInserted);
}

std::string Texts(TTranslatedStrings& s, const std::string& component, const std::string& property) {
  TDataRow* row = s.Properties().LocateRow({component, property});
  if (row == nullptr) return "none";
  std::string texts;
  for (int i = 0; i < s.LanguageCount(); ++i)
    texts += (i ? "|" : "") + row->GetFStringValue(&s.LanguageField(i));
  return texts;
}

TEST(TTranslator, StartsWithTwoLanguagesOrThoseOfTheApplicationTranslator) {
  TTranslator plain(nullptr);
  EXPECT_EQ(Languages(plain), "Language 1,Language 2 @0");
  EXPECT_EQ(plain.Language(), "Language 1");
  EXPECT_EQ(plain.About(), nullptr);

  TTranslator application(nullptr);
  application.SetTranslateApplication(true);
  application.Strings().RenameLanguage(0, "Deutsch");
  application.Strings().RenameLanguage(1, "English");
  application.Strings().InsertLanguage(2,
                                       "Fran\xE7"
                                       "ais",
                                       -1);  // Français
  TTranslator later(nullptr);
  EXPECT_EQ(Languages(later),
            "Deutsch,English,Fran\xE7"
            "ais @0");
  EXPECT_EQ(TTranslator::ApplicationTranslator(&later), &application);
  EXPECT_EQ(TTranslator::ApplicationTranslator(&application), nullptr);  // itself is never its source
  later.Strings().RenameLanguage(0, "German");                           // a copy: the source keeps its name
  EXPECT_EQ(application.Strings().LanguageName(0), "Deutsch");
}

TEST(TTranslator, TheCurrentLanguageStaysAcrossInsertionsAndRemovals) {
  TTranslator t(nullptr);
  TTranslatedStrings& s = t.Strings();
  s.RenameLanguage(0, "Deutsch");
  s.RenameLanguage(1, "English");
  s.InsertLanguage(0, "Dansk", -1);  // before the current one
  EXPECT_EQ(Languages(t), "Dansk,Deutsch,English @1");
  EXPECT_EQ(t.Language(), "Deutsch");
  s.InsertLanguage(3, "deutsch", -1);  // names differ in case: two languages
  EXPECT_EQ(Languages(t), "Dansk,Deutsch,English,deutsch @1");
  EXPECT_EQ(s.IndexOfLanguage("deutsch"), 3);
  s.RemoveLanguage(0);  // before the current one
  EXPECT_EQ(Languages(t), "Deutsch,English,deutsch @0");
  s.RemoveLanguage(2);   // after it
  s.RemoveLanguage(-1);  // nothing
  EXPECT_EQ(Languages(t), "Deutsch,English @0");
}

TEST(TTranslator, RefusalsChangeNeitherTheListNorTheTables) {
  TTranslator t(nullptr);
  TTranslatedStrings& s = t.Strings();
  s.RenameLanguage(0, "O'Neil");
  AddNamedString(s, "About", {"Info", "About"});
  AddEntry(s, "txInfo", "Caption", true, {"de", "en"});
  const struct {
    std::function<void()> Call;
    std::string Message;
  } cases[] = {
      {[&] { s.InsertLanguage(1, "O'Neil", -1); }, "Languagename 'O''Neil' is already used!"},
      {[&] { s.InsertLanguage(3, "Dansk", -1); }, "Invalid index 3!"},
      {[&] { s.InsertLanguage(-1, "Dansk", -1); }, "Invalid index -1!"},
      {[&] { s.RenameLanguage(1, "O'Neil"); }, "Languagename 'O''Neil' is already used!"},
      {[&] { s.RemoveLanguage(0); }, "You are not allowed to remove the currently selected language!"},
  };
  for (const auto& c : cases) {
    try {
      c.Call();
      ADD_FAILURE() << c.Message;
    } catch (const ETranslatorError& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(Languages(t), "O'Neil,Language 2 @0");
    EXPECT_EQ(s.PropertiesTable().FieldCount(), 7);
    EXPECT_EQ(s.StringsTable().FieldCount(), 3);
    EXPECT_EQ(Texts(s, "txInfo", "Caption"), "de|en");
    EXPECT_EQ(s.GetString("About", 1), "About");
  }
  s.RenameLanguage(0, "O'Neil");  // its own name is no clash
  s.CheckLanguageNames();
  t.SetReading(true);  // a stored list is read as it is, then checked
  s.RenameLanguage(1, "O'Neil");
  t.SetReading(false);
  try {
    s.CheckLanguageNames();
    ADD_FAILURE();
  } catch (const ETranslatorError& e) {
    EXPECT_EQ(e.Message(), "Languagename 'O''Neil' is used more than once!");
  }
}

TEST(TTranslator, InsertedLanguagesKeepEveryRowAndCopyTextsWhenAsked) {
  TTranslator t(nullptr);
  TTranslatedStrings& s = t.Strings();
  AddNamedString(s, "Freeware", {"frei", "free"});
  AddEntry(s, "txInfo", "Caption", true, {"de", "en"});
  AddEntry(s, "wAbout", "Caption", false, {"Info", "Info"});
  s.InsertLanguage(1, "Copy", 0);
  s.InsertLanguage(0, "Empty", -1);
  EXPECT_EQ(Languages(t), "Empty,Language 1,Copy,Language 2 @1");
  EXPECT_EQ(Texts(s, "txInfo", "Caption"), "|de|de|en");
  EXPECT_EQ(Texts(s, "wAbout", "Caption"), "|Info|Info|Info");
  EXPECT_EQ(s.GetString("Freeware", 2), "frei");
  EXPECT_EQ(s.GetString("Freeware", 3), "free");
  EXPECT_EQ(s.PropertiesTable().GetField(3), &s.LanguageField(0));  // languages follow "Class"
  s.RemoveLanguage(2);
  EXPECT_EQ(Texts(s, "txInfo", "Caption"), "|de|en");
  EXPECT_EQ(s.GetString("Freeware", 2), "free");
}

TEST(TTranslator, NamedStringsByNameAndLanguage) {
  TTranslator t(nullptr);
  AddNamedString(t.Strings(), "About",
                 {"Info \xFC"
                  "ber",
                  "About"});  // Info über
  AddNamedString(t.Strings(), "Blank", {"", ""});
  EXPECT_EQ(t.GetString("About"),
            "Info \xFC"
            "ber");
  EXPECT_EQ(t.GetString("Blank"), "");
  EXPECT_EQ(t.GetString("Missing"), "[Missing]");
  t.SetLanguageIndex(1);
  EXPECT_EQ(t.GetString("About"), "About");
  EXPECT_EQ(t.Strings().GetString("About", 0),
            "Info \xFC"
            "ber");
  EXPECT_EQ(t.Strings().GetString("", 0), "[]");
}

// GetString finds the row as the storage compares keys, and follows every
// change of the named strings: each step changes them, then names are asked.
TEST(TTranslator, NamedStringsFollowEveryChange) {
  TTranslator t(nullptr);
  TTranslatedStrings& s = t.Strings();
  const std::string longName(70, 'n');  // the key keeps 64 characters
  struct TStep {
    const char* What;
    std::function<void()> Change;
    std::vector<std::pair<std::string, std::string>> Expected;  // name, text
  };
  const std::vector<TStep> steps = {
      {"added",
       [&] {
         AddNamedString(s, "About", {"Info", "About"});
       },
       {{"About", "Info"}, {"ABOUT", "Info"}, {"about", "Info"}, {"Abou", "[Abou]"}}},
      {"a long name",
       [&] {
         AddNamedString(s, longName, {"lang", "long"});
       },
       {{longName, "lang"}, {longName.substr(0, 64), "lang"}, {longName + "x", "lang"}}},
      {"renamed",
       [&] { s.NamedStrings().LocateRow({"About"})->SetFStringValue(Shared().PropertyField.get(), "Help"); },
       {{"About", "[About]"}, {"help", "Info"}}},
      {"text changed",
       [&] { s.NamedStrings().LocateRow({"Help"})->SetFStringValue(&s.LanguageField(0), "Hilfe"); },
       {{"Help", "Hilfe"}}},
      {"language inserted before", [&] { s.InsertLanguage(0, "Dansk", 1); }, {{"Help", "About"}}},
      {"deleted",
       [&] { s.NamedStrings().LocateRow({"Help"})->DeleteRow(); },
       {{"Help", "[Help]"}, {longName, "long"}}},
  };
  for (const TStep& step : steps) {
    step.Change();
    // The first lookups after a change search the tree, later ones the
    // index built from it: both must answer alike.
    for (int round = 0; round < 3; ++round)
      for (const auto& [name, text] : step.Expected)
        EXPECT_EQ(s.GetString(name, 0), text) << step.What << ", round " << round << ": " << name;
  }
}

// A three-level chain below the component class.
class TProbeBase : public TComponent {
  TV_CLASS(TProbeBase, TComponent)
 public:
  using TComponent::TComponent;
};
class TProbeMiddle : public TProbeBase {
  TV_CLASS(TProbeMiddle, TProbeBase)
 public:
  using TProbeBase::TProbeBase;
};
class TProbeLeaf : public TProbeMiddle {
  TV_CLASS(TProbeLeaf, TProbeMiddle)
 public:
  using TProbeMiddle::TProbeMiddle;
};

std::string Rules(TTranslatedProperties& cache, const TComponent& component) {
  const TDataRowList& rules = cache.RulesFor(component);
  std::string text;
  for (int i = 0; i < rules.Count(); ++i)
    text +=
        (i ? " " : "") + rules.GetDataRow(i)->GetFStringValue(Shared().ClassField.get()) + "." + rules.Get(i);
  return text;
}

TEST(TTranslator, RulesOfTheNearestClassThatIncludesSubclassesApply) {
  TComponent form(nullptr);
  form.SetName("wForm");
  auto* t = new TTranslator(&form);
  TTranslatedStrings& s = t->Strings();
  AddRule(s, "TProbeBase", "Caption", true, false);
  AddRule(s, "TProbeBase", "Lines[]", false, true);
  AddRule(s, "TProbeMiddle", "Caption", false, true);
  AddRule(s, "TProbeMiddle", "Hint", true, true);
  auto* base = new TProbeBase(&form);
  base->SetName("base");
  auto* middle = new TProbeMiddle(&form);
  middle->SetName("middle");
  auto* leaf = new TProbeLeaf(&form);
  leaf->SetName("leaf");
  auto* unnamed = new TProbeLeaf(&form);

  TTranslatedProperties cache(s);
  EXPECT_EQ(Rules(cache, *base), "TProbeBase.Caption TProbeBase.Lines[]");
  EXPECT_EQ(Rules(cache, *middle), "TProbeMiddle.Caption TProbeMiddle.Hint");
  EXPECT_EQ(Rules(cache, *leaf), "TProbeMiddle.Hint TProbeBase.Caption");
  EXPECT_EQ(&cache.RulesFor(*leaf), &cache.RulesFor(*leaf));  // one list per class and pass
  EXPECT_EQ(Rules(cache, *unnamed), "");
  EXPECT_TRUE(s.HasRule(*base, "Lines[3]"));
  EXPECT_FALSE(s.HasRule(*leaf, "Lines[3]"));
  EXPECT_TRUE(s.HasRule(*leaf, "Caption"));
}

TEST(TTranslator, ShowPropertiesMarksEntriesWithARuleAndInTranslatedOnlyModeTheTranslatedOnes) {
  TComponent form(nullptr);
  form.SetName("wForm");
  auto* t = new TTranslator(&form);
  TTranslatedStrings& s = t->Strings();
  auto* label = new TProbeLeaf(&form);
  label->SetName("txInfo");
  AddRule(s, "TProbeBase", "Caption", true, true);
  AddRule(s, "TComponent", "Name", false, true);  // not for subclasses
  AddEntry(s, "txInfo", "Caption", true, {"a", "b"});
  AddEntry(s, "txInfo", "Hint", true, {"", ""});     // no rule
  AddEntry(s, "txGone", "Caption", true, {"", ""});  // no component
  AddEntry(s, "wForm", "Name", true, {"", ""});      // the owner itself, exact class
  TDataRow* untranslated = AddEntry(s, "txInfo", "Name", false, {"", ""});
  auto shown = [&] {
    std::string list;
    for (int i = 0; i < s.Properties().RowCount(); ++i)
      if (TDataRow* row = s.Properties().GetDataRow(i))
        list += row->GetFStringValue(Shared().ComponentField.get()) + "." +
                row->GetFStringValue(Shared().PropertyField.get()) + " ";
    return list;
  };
  s.SetShowProperties(spAllAdded);
  EXPECT_EQ(shown(), "txInfo.Caption wForm.Name ");
  untranslated->SetFStringValue(Shared().PropertyField.get(), "Caption2");
  AddRule(s, "TProbeLeaf", "Caption2", false, false);
  s.SetShowProperties(spAllAdded);
  EXPECT_EQ(shown(), "txInfo.Caption txInfo.Caption2 wForm.Name ");
  s.SetShowProperties(spTranslatedOnly);
  EXPECT_EQ(s.ShowProperties(), spTranslatedOnly);
  EXPECT_EQ(shown(), "txInfo.Caption wForm.Name ");
}

TEST(TTranslator, FindEntryLearnsItsComponentAndFollowsARenameWhileDesigning) {
  TComponent form(nullptr);
  form.SetName("wForm");
  auto* t = new TTranslator(&form);
  auto* label = new TProbeLeaf(&form);
  label->SetName("txInfo");
  TTranslatedStrings& s = t->Strings();
  TDataRow* entry = AddEntry(s, "txInfo", "Caption", true, {"a", "b"});
  EXPECT_EQ(s.FindEntry(label, "Caption"), entry);
  EXPECT_EQ(entry->GetFStringValue(Shared().ClassField.get()), "TProbeLeaf");
  EXPECT_EQ(s.FindEntry(label, "Hint"), nullptr);
  EXPECT_EQ(s.FindEntry(nullptr, "Caption"), nullptr);
  label->SetName("txAbout");
  EXPECT_EQ(s.FindEntry(label, "Caption"), nullptr);  // running: a renamed control has no entry
  t->SetState(csDesigning);
  EXPECT_EQ(s.FindEntry(label, "Caption"), entry);
  EXPECT_EQ(s.Properties().LocateRow({"txAbout", "Caption"}), entry);
  EXPECT_EQ(s.Properties().LocateRow({"txInfo", "Caption"}), nullptr);
}

// An entry that already points at its component takes the component's
// class as well: set apart in the column, or a component of another class
// made in the place of a freed one, under its name.
TEST(TTranslator, FindEntryTakesTheClassOfTheComponentFoundEveryTime) {
  TComponent form(nullptr);
  form.SetName("wForm");
  auto* t = new TTranslator(&form);
  TTranslatedStrings& s = t->Strings();
  TDataRow* entry = AddEntry(s, "txInfo", "Caption", true, {"a", "b"});
  auto classOf = [&] { return entry->GetFStringValue(Shared().ClassField.get()); };
  alignas(std::max_align_t) unsigned char place[std::max(sizeof(TProbeLeaf), sizeof(TProbeMiddle))];
  auto* label = new (place) TProbeLeaf(nullptr);
  label->SetName("txInfo");
  ASSERT_EQ(s.FindEntry(label, "Caption"), entry);
  EXPECT_EQ(classOf(), "TProbeLeaf");
  entry->SetFStringValue(Shared().ClassField.get(), "TLabel");
  ASSERT_EQ(s.FindEntry(label, "Caption"), entry);
  EXPECT_EQ(classOf(), "TProbeLeaf");
  label->~TProbeLeaf();
  auto* other = new (place) TProbeMiddle(nullptr);
  other->SetName("txInfo");
  ASSERT_EQ(static_cast<void*>(other), static_cast<void*>(label));
  ASSERT_EQ(s.FindEntry(other, "Caption"), entry);
  EXPECT_EQ(classOf(), "TProbeMiddle");
  other->~TProbeMiddle();
}

}  // namespace
}  // namespace tv
