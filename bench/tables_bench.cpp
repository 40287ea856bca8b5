// A table's position cache against a linear search over the same fields,
// in the same run: 64 fields, every position looked up.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "data/elements/data_table.h"
#include "data/types/data_types.h"

namespace {

constexpr int kFields = 64;

struct TFixture {
  std::vector<std::unique_ptr<tv::TDataField>> fields;
  std::unique_ptr<tv::TDataTable> table;
  std::vector<const tv::TDataField*> pointers;
  TFixture() {
    std::vector<tv::TDataField*> data;
    for (int i = 0; i < kFields; ++i) {
      fields.push_back(tv::TDataField::CreateNamed("BenchField" + std::to_string(i), tv::IntegerType()));
      data.push_back(fields.back().get());
      pointers.push_back(fields.back().get());
    }
    table = tv::TDataTable::CreateWithFields("", {}, data);
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_LinearFind(benchmark::State& state) {
  const auto& pointers = Fixture().pointers;
  for (auto _ : state) {
    int sum = 0;
    for (const tv::TDataField* field : pointers) {
      benchmark::DoNotOptimize(field);
      sum += static_cast<int>(std::find(pointers.begin(), pointers.end(), field) - pointers.begin());
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_LinearFind);

void BM_IndexOfField(benchmark::State& state) {
  const auto& pointers = Fixture().pointers;
  const tv::TDataTable& table = *Fixture().table;
  for (auto _ : state) {
    int sum = 0;
    for (const tv::TDataField* field : pointers) {
      benchmark::DoNotOptimize(field);
      sum += table.IndexOfField(field);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_IndexOfField);

}  // namespace

BENCHMARK_MAIN();
