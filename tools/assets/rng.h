// A small seeded generator (SplitMix64) so that every asset comes out the same on every run.
#pragma once

#include <cstdint>

namespace assets {

class Rng {
  public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    // Uniform in [-1, 1).
    double signedUnit() { return unit() * 2.0 - 1.0; }

    // Uniform whole number in [0, n).
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

  private:
    std::uint64_t state_;
};

// A stateless hash of a position, for textures that must repeat exactly (tiles).
inline double hashUnit(int x, int y, std::uint64_t salt) {
    Rng rng(salt ^ (static_cast<std::uint64_t>(static_cast<std::uint32_t>(x)) << 32) ^
            static_cast<std::uint32_t>(y));
    return rng.unit();
}

}  // namespace assets
