#include "core/random.h"

#include <cmath>

namespace core {

SystemRandom::SystemRandom() {
  std::random_device device;
  std::seed_seq seq{device(), device(), device(), device()};
  engine_.seed(seq);
}

float SystemRandom::rnd() {
  // 24 random bits give every single-precision value of [0, 1) on a grid.
  return static_cast<float>(engine_() >> 8) / 16777216.0f;
}

float ScriptedRandom::rnd() {
  ++used_;
  if (draws_.empty()) return fallback_.rnd();
  const float r = draws_.front();
  draws_.pop_front();
  return r;
}

namespace {
RandomSource& standard() {
  static SystemRandom s;
  return s;
}
RandomSource*& current() {
  static RandomSource* source = &standard();
  return source;
}
}  // namespace

RandomSource& rng() { return *current(); }

void setrng(RandomSource* source) { current() = source ? source : &standard(); }

int drawindex(float r, int n) {
  const float product = r * static_cast<float>(n);
  return static_cast<int>(std::floor(product)) + 1;
}

}  // namespace core
