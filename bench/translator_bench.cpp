// Named strings of a translator against a plain map of the same texts, and
// the cost of inserting a language into a translator with many entries.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

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

void FillNamedStrings(TTranslator& t) {
  const TTranslatorShared& shared = InitializeTranslatorLibrary();
  for (int i = 0; i < kCount; ++i) {
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

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
