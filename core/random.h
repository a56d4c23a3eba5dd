// The one source of random numbers. Every draw of the system goes through
// it, and the points where the generators reseed are kept as calls, so that
// tests can script the draws and pin exact texts.
#pragma once

#include <cmath>
#include <deque>
#include <memory>
#include <random>

namespace core {

class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A reseed point. The product's generator is seeded once, well, and
  // treats this as a no-op: reseeding from a coarse clock before every draw
  // would repeat the same numbers within one clock tick.
  virtual void reseed() = 0;
  // One uniform single-precision number r with 0 <= r < 1.
  virtual float rnd() = 0;
};

// The product's generator: a Mersenne Twister seeded once from the system's
// entropy source.
class SystemRandom : public RandomSource {
 public:
  SystemRandom();
  explicit SystemRandom(unsigned seed) : engine_(seed) {}
  void reseed() override {}
  float rnd() override;

 private:
  std::mt19937 engine_;
};

// A scripted sequence of draws for tests. When the script runs out it falls
// back on a fixed-seed generator, so that a test never hangs on it.
class ScriptedRandom : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<float> draws) : draws_(draws) {}
  void push(float r) { draws_.push_back(r); }
  void reseed() override { ++reseeds_; }
  float rnd() override;
  int reseeds() const { return reseeds_; }
  std::size_t left() const { return draws_.size(); }
  std::size_t used() const { return used_; }

 private:
  std::deque<float> draws_;
  SystemRandom fallback_{12345u};
  int reseeds_ = 0;
  std::size_t used_ = 0;
};

// The source that the whole program draws from. Never null: it starts as a
// SystemRandom.
RandomSource& rng();
// Installs another source (a test's script); nullptr puts back the default.
void setrng(RandomSource* source);

// Int(r x n) + 1: a whole number from 1 to n, computed in single precision.
int drawindex(float r, int n);
// Int(x): the largest whole number not above x.
inline long long Int(double x) { return static_cast<long long>(std::floor(x)); }

}  // namespace core
