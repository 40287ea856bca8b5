// A criteria's row test against a hand-written predicate on the same rows,
// in the same run: three restricted fields (one single value, one interval,
// one list of ten values) over 100,000 rows.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "data/conditions/criteria.h"
#include "data/elements/data_table.h"
#include "data/types/data_types.h"

namespace {

constexpr int kRows = 100'000;
const int kListed[] = {3, 8, 13, 21, 34, 55, 89, 144, 233, 377};

struct TFixture {
  std::unique_ptr<tv::TKeyField> key = tv::TKeyField::CreateNamed("BenchKey", tv::IntegerType());
  std::unique_ptr<tv::TDataField> single = tv::TDataField::CreateNamed("BenchSingle", tv::IntegerType());
  std::unique_ptr<tv::TDataField> ranged = tv::TDataField::CreateNamed("BenchRanged", tv::IntegerType());
  std::unique_ptr<tv::TDataField> listed = tv::TDataField::CreateNamed("BenchListed", tv::IntegerType());
  std::unique_ptr<tv::TDataTable> table =
      tv::TDataTable::CreateWithFields("", {key.get()}, {single.get(), ranged.get(), listed.get()});
  std::vector<std::unique_ptr<tv::TDataRow>> rows;
  tv::TCriteria criteria;

  TFixture() {
    std::mt19937 random(5);
    for (int i = 0; i < kRows; ++i) {
      auto row = std::make_unique<tv::TDataRow>(table.get());
      row->SetFieldValue(key.get(), tv::IntegerValue(i));
      row->SetFieldValue(single.get(), tv::IntegerValue(static_cast<int>(random() % 4)));
      row->SetFieldValue(ranged.get(), tv::IntegerValue(static_cast<int>(random() % 100)));
      row->SetFieldValue(listed.get(), tv::IntegerValue(static_cast<int>(random() % 400)));
      rows.push_back(std::move(row));
    }
    criteria.FindCriteriaField(single.get(), true)->AddValue(tv::IntegerValue(1));
    criteria.FindCriteriaField(ranged.get(), true)->AddInterval(tv::IntegerValue(10), tv::IntegerValue(50));
    tv::TCriteriaField* list = criteria.FindCriteriaField(listed.get(), true);
    for (int n : kListed) list->AddValue(tv::IntegerValue(n));
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_HandWrittenPredicate(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    int accepted = 0;
    for (const auto& row : f.rows) {
      // Field by field, stopping at the first refusal, as the criteria does.
      if (row->GetFIntegerValue(f.single.get()) != 1) continue;
      const int ranged = row->GetFIntegerValue(f.ranged.get());
      if (ranged < 10 || ranged > 50) continue;
      const int listed = row->GetFIntegerValue(f.listed.get());
      for (int n : kListed)
        if (n == listed) {
          ++accepted;
          break;
        }
    }
    benchmark::DoNotOptimize(accepted);
  }
}
BENCHMARK(BM_HandWrittenPredicate)->Unit(benchmark::kMillisecond);

void BM_CriteriaAcceptsRow(benchmark::State& state) {
  TFixture& f = Fixture();
  for (auto _ : state) {
    int accepted = 0;
    for (const auto& row : f.rows) accepted += f.criteria.AcceptsRow(*row);
    benchmark::DoNotOptimize(accepted);
  }
}
BENCHMARK(BM_CriteriaAcceptsRow)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
