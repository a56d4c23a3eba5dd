#include <benchmark/benchmark.h>

#include "core/convert.h"

namespace {

const core::SharedTables tables = core::filledtables();

// The long form: the formula, the sentence, the method and the metric scale
// with its marker line (the worked solution of a metric question).
void BM_ConvertUnitsLong(benchmark::State& state) {
  double result = 0;
  std::string explanation;
  for (auto _ : state) {
    explanation.clear();
    core::convertunits(tables, 250, 7, 2, result, 1, explanation);
    benchmark::DoNotOptimize(explanation.data());
  }
}
BENCHMARK(BM_ConvertUnitsLong);

// The short form that the tablet and fluid solutions use.
void BM_ConvertUnitsShort(benchmark::State& state) {
  double result = 0;
  std::string explanation;
  for (auto _ : state) {
    explanation = "short";
    core::convertunits(tables, 500, 7, 2, result, 4, explanation);
    benchmark::DoNotOptimize(explanation.data());
  }
}
BENCHMARK(BM_ConvertUnitsShort);

}  // namespace
