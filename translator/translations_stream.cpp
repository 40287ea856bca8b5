// The translator's data in its dialog's stored form: the defined property
// "Translations", written in the newest format and read in every format
// that stored dialogs have used.

#include "translator/translations_stream.h"

#include <cstdio>

#include "platform/components/component_stream.h"
#include "platform/rtl/convert.h"
#include "platform/rtl/sysutils.h"
#include "translator/translator.h"

namespace tv {

namespace {

constexpr int kStreamVersion = 200;  // "2.00", the newest the reader knows
const char* const kComponentVersion = "2.10";

std::string_view Trimmed(std::string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

// The part of Text before the first Separator, and after it the rest; both
// trimmed. Without the separator the part is the whole text. Views into the
// line: an entry's line is taken apart without a copy of its parts.
std::string_view TakePart(std::string_view& text, std::string_view separator) {
  const std::size_t at = text.find(separator);
  const std::string_view part = Trimmed(text.substr(0, at));
  text = at == std::string_view::npos ? std::string_view() : Trimmed(text.substr(at + separator.size()));
  return part;
}

bool IsTrue(std::string_view text) {
  return SameText(text, "true");
}

// "/_" stands for "/" in the texts of the oldest streams, where "//"
// separates the two languages.
std::string Unescaped(std::string text) {
  for (std::size_t at = text.find("/_"); at != std::string::npos; at = text.find("/_", at + 1))
    text.replace(at, 2, "/");
  return text;
}

// "Version: 2.00" as 200; the minor number has two digits.
int ParseVersion(std::string_view line) {
  TakePart(line, ":");
  const std::string_view major = TakePart(line, ".");
  const int majorNumber = StrToInt(major);
  const int minorNumber = StrToInt(line);
  if (line.size() != 2) throw ETranslatorError("Invalid version number!");
  return majorNumber * 100 + minorNumber;
}

// The reading flag lets a stored list name languages as it stands; it is
// cleared however reading the list ends.
struct TReadingLanguages {
  explicit TReadingLanguages(TTranslator& t) : translator(t) { translator.SetReading(true); }
  ~TReadingLanguages() { translator.SetReading(false); }
  TTranslator& translator;
};

}  // namespace

// --- the spelling of the parts

const char* ShowPropertiesName(TShowProperties value) {
  return value == spTranslatedOnly ? "spTranslatedOnly" : "spAllAdded";
}

const char* BooleanText(bool value) {
  return value ? "True" : "False";
}

std::string VersionText(int version) {
  if (version <= 0) return "none";
  char text[16];
  std::snprintf(text, sizeof text, "%d.%02d", version / 100, version % 100);
  return text;
}

std::string RuleLine(const TDataRow& rule) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  return rule.GetFStringValue(shared.ClassField.get()) + "." +
         rule.GetFStringValue(shared.PropertyField.get()) + ": " +
         BooleanText(rule.GetFBooleanValue(shared.IncludeSubclassesField.get())) + ", " +
         BooleanText(rule.GetFBooleanValue(shared.TranslateField.get()));
}

void ReadRuleLine(std::string_view line, TDataRow& rule) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  rule.SetFStringValue(shared.ClassField.get(), TakePart(line, "."));
  rule.SetFStringValue(shared.PropertyField.get(), TakePart(line, ":"));
  rule.SetFBooleanValue(shared.IncludeSubclassesField.get(), IsTrue(TakePart(line, ",")));
  rule.SetFBooleanValue(shared.TranslateField.get(), IsTrue(line));
}

std::string EntryLine(const TDataRow& entry) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  return entry.GetFStringValue(shared.ClassField.get()) + "(" +
         entry.GetFStringValue(shared.ComponentField.get()) + ")." +
         entry.GetFStringValue(shared.PropertyField.get()) + ": " +
         BooleanText(entry.GetFBooleanValue(shared.TranslateField.get()));
}

void ReadEntryLine(std::string_view line, int version, TDataRow& entry) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  entry.SetFStringValue(shared.ClassField.get(), TakePart(line, "("));
  if (version < 102) {
    // Old streams kept a number where a live reference is kept now: it is
    // checked as a number, and no number from a file becomes a reference.
    StrToInt(TakePart(line, "),"));
    entry.SetFStringValue(shared.ComponentField.get(), TakePart(line, "."));
  } else {
    entry.SetFStringValue(shared.ComponentField.get(), TakePart(line, ")."));
  }
  entry.SetFieldValue(shared.PointerField.get(), ObjectValue(nullptr));
  entry.SetFStringValue(shared.PropertyField.get(), TakePart(line, ":"));
  entry.SetFBooleanValue(shared.TranslateField.get(), IsTrue(line));
}

void TTranslator::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "Translations", [this](TReader& reader) { ReadTranslations(reader); },
      [this](TWriter& writer) { WriteTranslations(writer); }, true);
}

// --- writing

void TTranslator::WriteTranslations(TWriter& writer) {
  if (Owner() != nullptr) CollectTexts();  // what is written is what the form shows
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  TTranslatedStrings& s = *strings_;
  writer.WriteListBegin();
  writer.WriteString("Version: " + VersionText(kStreamVersion));
  writer.WriteString("Languages");
  writer.WriteListBegin();
  for (int i = 0; i < s.LanguageCount(); ++i) writer.WriteString(s.LanguageName(i));
  writer.WriteListEnd();
  writer.WriteString("Currentlanguage: " + Language());
  writer.WriteString(std::string("ShowProperties: ") + ShowPropertiesName(s.ShowProperties()));

  writer.WriteListBegin();
  for (TDataRow* rule : s.Rules().Rows()) writer.WriteString(RuleLine(*rule));
  writer.WriteListEnd();

  writer.WriteListBegin();
  for (TDataRow* entry : s.Properties().Rows()) {
    writer.WriteString(EntryLine(*entry));
    if (entry->GetFBooleanValue(shared.TranslateField.get())) WriteTexts(writer, *entry, true);
  }
  writer.WriteListEnd();

  writer.WriteListBegin();
  for (TDataRow* named : s.NamedStrings().Rows()) {
    writer.WriteString(named->GetFStringValue(shared.PropertyField.get()));
    WriteTexts(writer, *named, false);
  }
  writer.WriteListEnd();
  writer.WriteListEnd();
}

// Equal texts in every language as one string when Joined allows it, else
// a list of one text per language.
void TTranslator::WriteTexts(TWriter& writer, const TDataRow& row, bool joined) const {
  const TTranslatedStrings& s = *strings_;
  bool equal = s.LanguageCount() > 0;
  for (int i = 1; i < s.LanguageCount() && equal; ++i)
    equal = row.GetFStringValue(&s.LanguageField(i)) == row.GetFStringValue(&s.LanguageField(0));
  if (joined && equal) {
    writer.WriteString(row.GetFStringValue(&s.LanguageField(0)));
    return;
  }
  writer.WriteListBegin();
  for (int i = 0; i < s.LanguageCount(); ++i) writer.WriteString(row.GetFStringValue(&s.LanguageField(i)));
  writer.WriteListEnd();
}

// --- reading

void TTranslator::ReadTranslations(TReader& reader) {
  reader.ReadListBegin();
  const int version = ParseVersion(reader.ReadString());
  if (version > kStreamVersion)
    throw ETranslatorError(std::string("Cannot read dfm! Your TTranslator version is ") + kComponentVersion +
                           ", but the dfm is saved using a newer version!");
  storedVersion_ = version;
  ReadLanguages(reader, version);
  const std::string currentLine = reader.ReadString();
  std::string_view current = currentLine;
  TakePart(current, ":");
  languageIndex_ = std::max(strings_->IndexOfLanguage(std::string(current)), 0);
  if (version >= 101) {
    const std::string showLine = reader.ReadString();
    std::string_view show = showLine;
    TakePart(show, ":");
    if (show == "spAllAdded") strings_->SetShowProperties(spAllAdded);
    if (show == "spTranslatedOnly") strings_->SetShowProperties(spTranslatedOnly);
  }
  ReadRules(reader);
  ReadEntries(reader, version);
  ReadNamedStrings(reader, version);
  reader.ReadListEnd();
}

void TTranslator::ReadLanguages(TReader& reader, int version) {
  TTranslatedStrings& s = *strings_;
  if (version < 103) {
    const std::string line = reader.ReadString();
    std::string_view names = line;
    TakePart(names, ":");
    const std::string first(TakePart(names, ","));
    s.RenameLanguage(0, first);
    s.RenameLanguage(1, std::string(names));
    return;
  }
  if (reader.ReadString() != "Languages") throw ETranslatorError("Error reading Languages!");
  reader.ReadListBegin();
  std::vector<std::string> names;
  while (!reader.EndOfList()) names.push_back(reader.ReadString());
  {
    TReadingLanguages reading(*this);
    s.TakeStreamLanguages(names);
  }
  s.CheckLanguageNames();
  reader.ReadListEnd();
}

void TTranslator::ReadRules(TReader& reader) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    auto rule = std::make_unique<TDataRow>(shared.RulesTable.get());
    ReadRuleLine(reader.ReadString(), *rule);
    // A later line of the same key replaces an earlier one.
    strings_->Rules().InsertRow(rule, paReplace);
  }
  reader.ReadListEnd();
}

void TTranslator::ReadEntries(TReader& reader, int version) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    std::unique_ptr<TDataRow> entry = strings_->NewEntry();
    ReadEntryLine(reader.ReadString(), version, *entry);
    const bool translate = entry->GetFBooleanValue(shared.TranslateField.get());
    if (version >= 104) {
      if (translate) ReadTexts(reader, *entry, true);
    } else if (version >= 103) {
      ReadTexts(reader, *entry, false);
    } else {
      ReadOldTexts(reader.ReadString(), *entry);
    }
    strings_->Properties().InsertRow(entry, paReplace);
  }
  reader.ReadListEnd();
}

void TTranslator::ReadNamedStrings(TReader& reader, int version) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    std::unique_ptr<TDataRow> named = strings_->NewNamedString();
    if (version >= 103) {
      named->SetFStringValue(shared.PropertyField.get(), reader.ReadString());
      ReadTexts(reader, *named, false);
    } else {
      const std::string line = reader.ReadString();
      std::string_view rest = line;
      named->SetFStringValue(shared.PropertyField.get(), TakePart(rest, ":"));
      ReadOldTexts(rest, *named);
    }
    strings_->NamedStrings().InsertRow(named, paReplace);
  }
  reader.ReadListEnd();
}

// One string for every language (when Joined allows it), or a list of
// exactly one string per language.
void TTranslator::ReadTexts(TReader& reader, TDataRow& row, bool joined) {
  TTranslatedStrings& s = *strings_;
  if (joined && reader.NextValue() != TValueType::vaList) {
    const std::string text = reader.ReadString();
    for (int i = 0; i < s.LanguageCount(); ++i) row.SetFStringValue(&s.LanguageField(i), text);
    return;
  }
  reader.ReadListBegin();
  for (int i = 0; i < s.LanguageCount(); ++i) row.SetFStringValue(&s.LanguageField(i), reader.ReadString());
  reader.ReadListEnd();
}

// "first//second": the texts of the first two languages.
void TTranslator::ReadOldTexts(std::string_view texts, TDataRow& row) {
  TTranslatedStrings& s = *strings_;
  const std::string first = Unescaped(std::string(TakePart(texts, "//")));
  if (s.LanguageCount() > 0) row.SetFStringValue(&s.LanguageField(0), first);
  if (s.LanguageCount() > 1) row.SetFStringValue(&s.LanguageField(1), Unescaped(std::string(texts)));
}

}  // namespace tv
