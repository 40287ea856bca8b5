// Values and their types against the plain C++ they stand for, in the same
// run: a short text value against a std::string, and sorting integer values
// through their type's Compare against sorting plain integers.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data/types/data_types.h"

namespace {

// Texts of 1 to 15 characters, so that the lookup meets several sizes.
const std::vector<std::string>& ShortTexts() {
  static const std::vector<std::string> texts = [] {
    std::vector<std::string> t;
    for (int length = 1; length < 16; ++length)
      t.push_back(std::string(static_cast<std::size_t>(length), 'a' + length));
    return t;
  }();
  return texts;
}

void BM_StdStringShort(benchmark::State& state) {
  const auto& texts = ShortTexts();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& source = texts[i++ % texts.size()];
    std::string copy(source.data(), source.size());
    benchmark::DoNotOptimize(copy);
  }
}
BENCHMARK(BM_StdStringShort);

void BM_StringValueShort(benchmark::State& state) {
  const auto& texts = ShortTexts();
  tv::StringValue("warm");  // the registries exist before the clock runs
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& source = texts[i++ % texts.size()];
    tv::TValue value = tv::StringValue(std::string_view(source.data(), source.size()));
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_StringValueShort);

constexpr std::size_t kSortCount = 1'000'000;

std::vector<std::int32_t> RandomInts() {
  std::mt19937 random(42);
  std::vector<std::int32_t> numbers(kSortCount);
  for (auto& n : numbers) n = static_cast<std::int32_t>(random());
  return numbers;
}

void BM_SortPlainInts(benchmark::State& state) {
  const std::vector<std::int32_t> source = RandomInts();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<std::int32_t> numbers = source;
    state.ResumeTiming();
    std::sort(numbers.begin(), numbers.end(), [](std::int32_t a, std::int32_t b) { return a < b; });
    benchmark::DoNotOptimize(numbers.data());
  }
}
BENCHMARK(BM_SortPlainInts)->Unit(benchmark::kMillisecond);

void BM_SortIntegerValuesByCompare(benchmark::State& state) {
  std::vector<tv::TValue> source;
  source.reserve(kSortCount);
  for (std::int32_t n : RandomInts()) source.push_back(tv::IntegerValue(n));
  const tv::TDataType& type = *tv::IntegerType();
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<tv::TValue> values = source;
    state.ResumeTiming();
    std::sort(values.begin(), values.end(),
              [&type](const tv::TValue& a, const tv::TValue& b) { return type.Compare(a, b) < 0; });
    benchmark::DoNotOptimize(values.data());
  }
}
BENCHMARK(BM_SortIntegerValuesByCompare)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
