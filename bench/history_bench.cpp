#include <benchmark/benchmark.h>

#include "core/history.h"

namespace {

core::QuestionHistory fullring() {
  core::QuestionHistory h;
  h.historypos = 1;
  for (int i = 0; i < 60; ++i) core::askedbefore(h, 1000 + i, 2.5, core::Key());
  return h;
}

// A new key set with the position at 0: all 51 slots are compared, then it
// is stored.
void BM_AskedBeforeFullRingNew(benchmark::State& state) {
  core::QuestionHistory h = fullring();
  double key = 0;
  for (auto _ : state) {
    h.historypos = 0;
    benchmark::DoNotOptimize(core::askedbefore(h, ++key, 2.5, core::Key()));
  }
}
BENCHMARK(BM_AskedBeforeFullRingNew);

// A drop-rate key set found in the last slot searched.
void BM_AskedBeforeFoundLast(benchmark::State& state) {
  core::QuestionHistory h;
  h.historypos = 1;
  for (int i = 0; i < 47; ++i)  // slots 2 .. 48
    core::askedbefore(h, static_cast<std::int16_t>(100 + i), 1.5f, static_cast<std::int16_t>(15));
  // position 49: slots 0..48 are compared; slot 48 holds the key set below
  const core::Key a(static_cast<std::int16_t>(146)), b(1.5f), c(static_cast<std::int16_t>(15));
  for (auto _ : state) {
    h.historypos = 49;
    benchmark::DoNotOptimize(core::askedbefore(h, a, b, c));
  }
}
BENCHMARK(BM_AskedBeforeFoundLast);

}  // namespace
