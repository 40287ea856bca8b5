// A row storage against a std::map keyed by the same two texts, in the same
// run: a table with two string keys (sizes 64 and 64) and a string data
// field, 100,000 rows inserted and then every key located; and GetRow of
// every position after one rebuild, at 10,000 and 100,000 rows.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "data/storage/row_storage.h"
#include "data/types/data_types.h"

namespace {

struct TFixture {
  std::unique_ptr<tv::TKeyField> first = tv::TKeyField::CreateNamed("BenchFirst", tv::StringType(64, false));
  std::unique_ptr<tv::TKeyField> second =
      tv::TKeyField::CreateNamed("BenchSecond", tv::StringType(64, false));
  std::unique_ptr<tv::TDataField> text = tv::TDataField::CreateNamed("BenchText", tv::StringType(30, false));
  std::unique_ptr<tv::TDataTable> table =
      tv::TDataTable::CreateWithFields("", {first.get(), second.get()}, {text.get()});
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

// Keys in random order: 100 groups of up to 1,000 entries.
std::vector<std::pair<std::string, std::string>> Keys(int count) {
  std::vector<std::pair<std::string, std::string>> keys;
  for (int i = 0; i < count; ++i)
    keys.emplace_back("Dialog " + std::to_string(i % 100), "Component.Caption " + std::to_string(i / 100));
  std::shuffle(keys.begin(), keys.end(), std::mt19937(3));
  return keys;
}

std::unique_ptr<tv::TDataRow> MakeRow(const TFixture& f, const std::pair<std::string, std::string>& key) {
  auto row = std::make_unique<tv::TDataRow>(f.table.get());
  row->SetFStringValue(f.first.get(), key.first);
  row->SetFStringValue(f.second.get(), key.second);
  row->SetFStringValue(f.text.get(), "translated");
  return row;
}

constexpr int kRows = 100'000;

void BM_MapInsert(benchmark::State& state) {
  const TFixture& f = Fixture();
  const auto keys = Keys(kRows);
  for (auto _ : state) {
    std::map<std::pair<std::string, std::string>, std::unique_ptr<tv::TDataRow>> rows;
    for (const auto& key : keys) rows.emplace(key, MakeRow(f, key));
    benchmark::DoNotOptimize(rows.size());
  }
}
BENCHMARK(BM_MapInsert)->Unit(benchmark::kMillisecond);

void BM_StorageInsert(benchmark::State& state) {
  const TFixture& f = Fixture();
  const auto keys = Keys(kRows);
  for (auto _ : state) {
    tv::TRowStorage storage(f.table.get(), false);
    for (const auto& key : keys) {
      auto row = MakeRow(f, key);
      storage.InsertRow(row);
    }
    benchmark::DoNotOptimize(storage.HasRows());
  }
}
BENCHMARK(BM_StorageInsert)->Unit(benchmark::kMillisecond);

void BM_MapLocate(benchmark::State& state) {
  const TFixture& f = Fixture();
  const auto keys = Keys(kRows);
  std::map<std::pair<std::string, std::string>, std::unique_ptr<tv::TDataRow>> rows;
  for (const auto& key : keys) rows.emplace(key, MakeRow(f, key));
  for (auto _ : state) {
    std::size_t found = 0;
    for (const auto& key : keys) found += rows.find(key) != rows.end();
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_MapLocate)->Unit(benchmark::kMillisecond);

void BM_StorageLocate(benchmark::State& state) {
  const TFixture& f = Fixture();
  const auto keys = Keys(kRows);
  tv::TRowStorage storage(f.table.get(), false);
  for (const auto& key : keys) {
    auto row = MakeRow(f, key);
    storage.InsertRow(row);
  }
  std::vector<std::vector<std::string>> texts;
  for (const auto& key : keys) texts.push_back({key.first, key.second});
  for (auto _ : state) {
    std::size_t found = 0;
    for (const auto& values : texts) found += storage.LocateRow(values) != nullptr;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_StorageLocate)->Unit(benchmark::kMillisecond);

void BM_GetRowEveryIndex(benchmark::State& state) {
  const TFixture& f = Fixture();
  const int count = static_cast<int>(state.range(0));
  tv::TRowStorage storage(f.table.get(), false);
  for (const auto& key : Keys(count)) {
    auto row = MakeRow(f, key);
    storage.InsertRow(row);
  }
  storage.RowCount();  // the one rebuild
  for (auto _ : state) {
    std::size_t sum = 0;
    for (int i = 0; i < count; ++i) sum += reinterpret_cast<std::uintptr_t>(storage.GetRow(i)) & 1;
    benchmark::DoNotOptimize(sum);
  }
  state.counters["ns_per_row"] =
      benchmark::Counter(static_cast<double>(count),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GetRowEveryIndex)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
