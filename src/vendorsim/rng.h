#pragma once
// A small deterministic random source. The standard distributions differ between library
// versions, so the generator draws only through this, and the same seed gives the same bytes
// everywhere.
#include <cstdint>
#include <string_view>
#include <vector>

namespace trotix::vendorsim {

class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  // Independent streams for independent things (a day, a race, a file): mixing the parts keeps
  // one stream's draws from shifting another's.
  static Rng For(uint64_t seed, uint64_t a, uint64_t b = 0, uint64_t c = 0) {
    Rng r(seed ^ 0x9E3779B97F4A7C15ull);
    r.state_ ^= r.Next() + a;
    r.state_ ^= r.Next() + b;
    r.state_ ^= r.Next() + c;
    return r;
  }

  uint64_t Next() {  // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Whole number in [lo, hi].
  int Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
  }
  // Real number in [0, 1).
  double Real() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Real(double lo, double hi) { return lo + (hi - lo) * Real(); }
  bool Chance(double p) { return Real() < p; }
  // About normal, mean 0 and deviation 1, within +-4.2: a sum of uniforms, so no library
  // function can change the draws.
  double Normal() {
    double sum = 0;
    for (int i = 0; i < 6; ++i) sum += Real();
    return (sum - 3) * 1.4142135623730951;
  }
  template <class T>
  const T& Pick(const std::vector<T>& v) {
    return v[Next() % v.size()];
  }
  template <class T>
  void Shuffle(std::vector<T>& v) {
    for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[Next() % i]);
  }

 private:
  uint64_t state_;
};

// FNV-1a, to turn a text (a date, a path) into a stream number.
inline uint64_t HashText(std::string_view s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

}  // namespace trotix::vendorsim
