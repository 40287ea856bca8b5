// Named strings of a translator against a plain map of the same texts, and
// the cost of inserting a language into a translator with many entries.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <unordered_map>
#include "platform/components/component_stream.h"
#include "platform/components/stream_items.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"
#include "translator/translator.h"

namespace tv {
namespace {

constexpr int kCount = 1000;

std::string NameOf(int i) {
  return "String" + std::to_string(i * 7919 % 100000);
}

std::vector<std::string> ShuffledNames() {
  std::vector<std::string> names;
  for (int i = 0; i < kCount; ++i) names.push_back(NameOf(i));
  std::shuffle(names.begin(), names.end(), std::mt19937(42));
  return names;
}

void FillNamedStrings(TTranslator& t, int count = kCount) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  for (int i = 0; i < count; ++i) {
    auto row = t.Strings().NewNamedString();
    row->SetFStringValue(shared.PropertyField.get(), NameOf(i));
    row->SetFStringValue(&t.Strings().LanguageField(0), "Text " + std::to_string(i));
    row->SetFStringValue(&t.Strings().LanguageField(1), "Text " + std::to_string(i));
    t.Strings().NamedStrings().InsertRow(row);
  }
}

void BM_TranslatorGetString(benchmark::State& state) {
  TTranslator t(nullptr);
  FillNamedStrings(t);
  const std::vector<std::string> names = ShuffledNames();
  for (auto _ : state)
    for (const std::string& name : names) benchmark::DoNotOptimize(t.GetString(name));
}
BENCHMARK(BM_TranslatorGetString);

void BM_MapGetString(benchmark::State& state) {
  std::map<std::string, std::vector<std::string>> texts;
  for (int i = 0; i < kCount; ++i)
    texts[NameOf(i)] = {"Text " + std::to_string(i), "Text " + std::to_string(i)};
  const std::vector<std::string> names = ShuffledNames();
  for (auto _ : state)
    for (const std::string& name : names) {
      auto found = texts.find(name);
      benchmark::DoNotOptimize(found == texts.end() ? "[" + name + "]" : found->second[0]);
    }
}
BENCHMARK(BM_MapGetString);

void BM_InsertLanguage1000Entries(benchmark::State& state) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  for (auto _ : state) {
    state.PauseTiming();
    auto t = std::make_unique<TTranslator>(nullptr);
    for (int i = 0; i < kCount; ++i) {
      auto row = t->Strings().NewEntry();
      row->SetFStringValue(shared.ComponentField.get(), "c" + std::to_string(i));
      row->SetFStringValue(shared.PropertyField.get(), "Caption");
      row->SetFStringValue(&t->Strings().LanguageField(0), "Text " + std::to_string(i));
      t->Strings().Properties().InsertRow(row);
    }
    state.ResumeTiming();
    t->Strings().InsertLanguage(1, "Dansk", 0);
    state.PauseTiming();
    t.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InsertLanguage1000Entries)->Unit(benchmark::kMillisecond);

constexpr int kLabels = 200;

// A form of 200 labels whose captions and hints are translated.
struct TTranslatedForm {
  TTranslatedForm() : form(nullptr) {
    const TTranslatorShared& shared = InitializeTranslatorLibrary();
    form.SetName("wForm");
    translator = new TTranslator(&form);
    translator->Strings().RenameLanguage(0, "Deutsch");
    translator->Strings().RenameLanguage(1, "English");
    for (const char* property : {"Caption", "Hint"}) {
      auto rule = std::make_unique<TDataRow>(shared.RulesTable.get());
      rule->SetFStringValue(shared.ClassField.get(), "TLabel");
      rule->SetFStringValue(shared.PropertyField.get(), property);
      rule->SetFBooleanValue(shared.TranslateField.get(), true);
      translator->Strings().Rules().InsertRow(rule);
    }
    for (int i = 0; i < kLabels; ++i) {
      auto* label = new TLabel(&form);
      label->SetName("txLabel" + std::to_string(i));
      for (const char* property : {"Caption", "Hint"}) {
        auto entry = translator->Strings().NewEntry();
        entry->SetFStringValue(shared.ComponentField.get(), label->Name());
        entry->SetFStringValue(shared.PropertyField.get(), property);
        entry->SetFBooleanValue(shared.TranslateField.get(), true);
        entry->SetFStringValue(&translator->Strings().LanguageField(0),
                               std::string(property) + " deutsch " + std::to_string(i));
        entry->SetFStringValue(&translator->Strings().LanguageField(1),
                               std::string(property) + " english " + std::to_string(i));
        translator->Strings().Properties().InsertRow(entry);
      }
    }
  }
  TForm form;
  TTranslator* translator;
};

void BM_SwitchLanguage200Labels(benchmark::State& state) {
  TTranslatedForm f;
  bool english = false;
  for (auto _ : state) {
    english = !english;
    f.translator->SetLanguage(english ? "English" : "Deutsch");
  }
}
BENCHMARK(BM_SwitchLanguage200Labels);

void BM_MapSetTexts200Labels(benchmark::State& state) {
  TTranslatedForm f;
  std::unordered_map<std::string, std::string> texts[2];
  std::vector<TLabel*> labels;
  for (int i = 0; i < kLabels; ++i) {
    labels.push_back(static_cast<TLabel*>(f.form.FindComponent("txLabel" + std::to_string(i))));
    for (int l = 0; l < 2; ++l)
      for (const char* property : {"Caption", "Hint"})
        texts[l][labels.back()->Name() + "." + property] =
            std::string(property) + (l ? " english " : " deutsch ") + std::to_string(i);
  }
  int language = 0;
  for (auto _ : state) {
    language = 1 - language;
    for (TLabel* label : labels) {
      label->SetCaption(texts[language].at(label->Name() + ".Caption"));
      label->SetHint(texts[language].at(label->Name() + ".Hint"));
    }
  }
}
BENCHMARK(BM_MapSetTexts200Labels);

// A root holding a translator with 2 languages, 500 entries and 100 named
// strings, as stored.
std::string StoredTranslator() {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  TComponent root(nullptr);
  root.SetName("wForm");
  auto* t = new TTranslator(&root);
  t->SetName("Translator");
  for (int i = 0; i < 500; ++i) {
    auto entry = t->Strings().NewEntry();
    entry->SetFStringValue(shared.ComponentField.get(), "txLabel" + std::to_string(i));
    entry->SetFStringValue(shared.PropertyField.get(), "Caption");
    entry->SetFStringValue(shared.ClassField.get(), "TLabel");
    entry->SetFBooleanValue(shared.TranslateField.get(), true);
    entry->SetFStringValue(&t->Strings().LanguageField(0), "Beschriftung " + std::to_string(i));
    entry->SetFStringValue(&t->Strings().LanguageField(1), "Caption " + std::to_string(i));
    t->Strings().AddEntry(std::move(entry));
  }
  FillNamedStrings(*t, 100);
  return TWriter::WriteRoot(root);
}

void BM_ReadTranslations(benchmark::State& state) {
  const std::string stored = StoredTranslator();
  for (auto _ : state) {
    TComponent root(nullptr);
    TReader::ReadRoot(stored, root);
    benchmark::DoNotOptimize(root.ComponentCount());
  }
}
BENCHMARK(BM_ReadTranslations)->Unit(benchmark::kMicrosecond);

// The same item bytes parsed into strings, no tables.
void BM_ParseTranslationItems(benchmark::State& state) {
  const std::string stored = StoredTranslator();
  const std::size_t at = stored.find("\x0CTranslations") + 13;
  for (auto _ : state) {
    TItemReader items(std::string_view(stored).substr(at));
    std::vector<std::string> strings;
    int depth = 0;
    do {
      if (items.NextValue() == TValueType::vaList) {
        items.ReadListBegin();
        ++depth;
      } else if (items.EndOfList()) {
        items.ReadListEnd();
        --depth;
      } else {
        strings.push_back(items.ReadString());
      }
    } while (depth > 0);
    benchmark::DoNotOptimize(strings.data());
  }
}
BENCHMARK(BM_ParseTranslationItems)->Unit(benchmark::kMicrosecond);

// A stored translator of Languages languages, 50 entries and a named
// string, each with a text in every language; read as a dialog reads it.
// Linear growth: 5,000 languages take about five times as long as 1,000.
std::string StoredLanguages(int languages) {
  TItemWriter w;
  w.Bytes() = "TPF0";
  w.WriteShortString("TComponent");
  w.WriteShortString("wForm");
  w.WriteListEnd();
  w.WriteShortString("TTranslator");
  w.WriteShortString("Translator");
  w.WriteShortString("Translations");
  w.WriteListBegin();
  w.WriteString("Version: 2.00");
  w.WriteString("Languages");
  w.WriteListBegin();
  for (int l = 0; l < languages; ++l) w.WriteString("Language" + std::to_string(l));
  w.WriteListEnd();
  w.WriteString("Currentlanguage: Language0");
  w.WriteString("ShowProperties: spAllAdded");
  w.WriteListBegin();
  w.WriteString("TLabel.Caption: True, True");
  w.WriteListEnd();
  auto texts = [&](const std::string& prefix) {
    w.WriteListBegin();
    for (int l = 0; l < languages; ++l) w.WriteString(prefix + std::to_string(l));
    w.WriteListEnd();
  };
  w.WriteListBegin();
  for (int e = 0; e < 50; ++e) {
    w.WriteString("TLabel(txLabel" + std::to_string(e) + ").Caption: True");
    texts("Text " + std::to_string(e) + " ");
  }
  w.WriteListEnd();
  w.WriteListBegin();
  w.WriteString("Greeting");
  texts("Hello ");
  w.WriteListEnd();  // the named strings
  w.WriteListEnd();  // the Translations value
  w.WriteListEnd();  // the translator's properties
  w.WriteListEnd();  // its children
  w.WriteListEnd();  // the root's children
  return w.Bytes();
}

void BM_ReadManyLanguages(benchmark::State& state) {
  InitializeTranslatorLibrary();
  const std::string stored = StoredLanguages(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TComponent root(nullptr);
    TReader::ReadRoot(stored, root);
    benchmark::DoNotOptimize(root.ComponentCount());
  }
}
BENCHMARK(BM_ReadManyLanguages)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
