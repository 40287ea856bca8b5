// String cells of rows against a std::vector<std::string>, in the same run:
// 1,000,000 cells (100,000 rows of ten string fields of size 30) written
// with SetFStringValue and read back with GetFStringValue.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "data/elements/data_table.h"
#include "data/types/data_types.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kFields = 10;

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (int i = 0; i < 64; ++i) t.push_back("Translated text number " + std::to_string(1000 + i * 37));
    return t;
  }();
  return texts;
}

void BM_VectorOfStrings(benchmark::State& state) {
  std::vector<std::string> cells(static_cast<std::size_t>(kRows) * kFields);
  const auto& texts = Texts();
  for (auto _ : state) {
    std::size_t n = 0;
    for (auto& cell : cells) cell = texts[n++ % texts.size()];
    std::size_t total = 0;
    for (const auto& cell : cells) {
      std::string copy = cell;
      total += copy.size();
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_VectorOfStrings)->Unit(benchmark::kMillisecond);

void BM_RowStringCells(benchmark::State& state) {
  std::vector<std::unique_ptr<tv::TDataField>> fields;
  std::vector<tv::TDataField*> data;
  for (int i = 0; i < kFields; ++i) {
    fields.push_back(tv::TDataField::CreateNamed("BenchText" + std::to_string(i), tv::StringType(30, false)));
    data.push_back(fields.back().get());
  }
  auto table = tv::TDataTable::CreateWithFields("", {}, data);
  std::vector<std::unique_ptr<tv::TDataRow>> rows;
  for (int i = 0; i < kRows; ++i) rows.push_back(std::make_unique<tv::TDataRow>(table.get()));
  const auto& texts = Texts();
  for (auto _ : state) {
    std::size_t n = 0;
    for (auto& row : rows)
      for (const tv::TDataField* field : data) row->SetFStringValue(field, texts[n++ % texts.size()]);
    std::size_t total = 0;
    for (const auto& row : rows)
      for (const tv::TDataField* field : data) total += row->GetFStringValue(field).size();
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_RowStringCells)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
