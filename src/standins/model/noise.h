#pragma once
// A small deterministic normal-deviate source (splitmix64 + Box-Muller), so
// that the same seed gives the same noise on every platform.

#include <cmath>
#include <cstdint>

namespace tavrin::standin {

class NormalNoise {
 public:
  explicit NormalNoise(double seed)
      : state_(static_cast<uint64_t>(std::fmod(std::fabs(std::isfinite(seed) ? seed : 0.0), 9007199254740992.0))) {}
  double uniform() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return (static_cast<double>(z >> 11) + 0.5) / 9007199254740992.0;  // (0, 1)
  }
  double next() {
    if (haveSpare_) {
      haveSpare_ = false;
      return spare_;
    }
    const double u1 = uniform(), u2 = uniform();
    const double r = std::sqrt(-2.0 * std::log(u1));
    const double t = 6.283185307179586 * u2;
    spare_ = r * std::sin(t);
    haveSpare_ = true;
    return r * std::cos(t);
  }

 private:
  uint64_t state_;
  double spare_ = 0.0;
  bool haveSpare_ = false;
};

}  // namespace tavrin::standin
