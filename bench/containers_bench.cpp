// The engine's containers against the standard ones doing the same, in the
// same run: a sorted value list of integers against a sorted std::vector,
// and an index container against std::unordered_set.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <unordered_set>
#include <vector>

#include "data/types/data_types.h"
#include "data/types/index_container.h"
#include "data/types/value_list.h"

namespace {

constexpr int kValues = 100'000;

const std::vector<std::int32_t>& RandomInts() {
  static const std::vector<std::int32_t> numbers = [] {
    std::mt19937 random(11);
    std::vector<std::int32_t> n(kValues);
    for (auto& x : n) x = static_cast<std::int32_t>(random());
    return n;
  }();
  return numbers;
}

void BM_SortedVectorInsert(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<std::int32_t> sorted;
    for (std::int32_t n : RandomInts()) sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), n), n);
    benchmark::DoNotOptimize(sorted.data());
  }
}
BENCHMARK(BM_SortedVectorInsert)->Unit(benchmark::kMillisecond);

void BM_SortedValueListInsert(benchmark::State& state) {
  for (auto _ : state) {
    tv::TValueList list(tv::IntegerType());
    list.SetSorted(true);
    list.SetDuplicates(tv::TDuplicates::dupAccept);
    for (std::int32_t n : RandomInts()) list.AddValue(tv::IntegerValue(n));
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_SortedValueListInsert)->Unit(benchmark::kMillisecond);

void BM_SortedVectorFind(benchmark::State& state) {
  std::vector<std::int32_t> sorted = RandomInts();
  std::sort(sorted.begin(), sorted.end());
  for (auto _ : state) {
    long sum = 0;
    for (std::int32_t n : RandomInts())
      sum += std::lower_bound(sorted.begin(), sorted.end(), n) - sorted.begin();
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SortedVectorFind)->Unit(benchmark::kMillisecond);

void BM_SortedValueListFind(benchmark::State& state) {
  tv::TValueList list(tv::IntegerType());
  list.SetSorted(true);
  list.SetDuplicates(tv::TDuplicates::dupAccept);
  for (std::int32_t n : RandomInts()) list.AddValue(tv::IntegerValue(n));
  std::vector<tv::TValue> wanted;
  for (std::int32_t n : RandomInts()) wanted.push_back(tv::IntegerValue(n));
  for (auto _ : state) {
    long sum = 0;
    int index = 0;
    for (const tv::TValue& value : wanted) {
      list.Find(value, index);
      sum += index;
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SortedValueListFind)->Unit(benchmark::kMillisecond);

constexpr int kKeys = 10'000;

const std::vector<std::unique_ptr<tv::TObject>>& Objects() {
  static const auto objects = [] {
    std::vector<std::unique_ptr<tv::TObject>> o(kKeys);
    for (auto& p : o) p = std::make_unique<tv::TObject>();
    return o;
  }();
  return objects;
}

void BM_UnorderedSetContains(benchmark::State& state) {
  std::unordered_set<void*> set;
  for (const auto& o : Objects()) set.insert(o.get());
  for (auto _ : state) {
    int found = 0;
    for (const auto& o : Objects()) found += static_cast<int>(set.count(o.get()));
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_UnorderedSetContains)->Unit(benchmark::kMicrosecond);

void BM_IndexContainerContains(benchmark::State& state) {
  tv::TIndexContainer container(101, false);
  for (const auto& o : Objects()) container.Add(o.get());
  for (auto _ : state) {
    int found = 0;
    for (const auto& o : Objects()) found += static_cast<int>(container.Contains(o.get()));
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_IndexContainerContains)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
