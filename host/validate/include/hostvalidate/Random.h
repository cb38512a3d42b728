// The validator's random numbers: SplitMix64, small and fully specified
// here, so that a seed gives the same sequence with every compiler and
// standard library and a printed seed replays a failure anywhere.
#pragma once

#include <cstdint>

namespace hostvalidate {

class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

  // Uniform from 0 to n - 1 (n > 0): draws above the last whole multiple
  // of n are drawn again, so no value is favoured.
  uint32_t below(uint32_t n) {
    const uint64_t limit = UINT64_MAX - UINT64_MAX % n;
    uint64_t draw = next();
    while (draw >= limit) draw = next();
    return static_cast<uint32_t>(draw % n);
  }

 private:
  uint64_t state_;
};

}  // namespace hostvalidate
