#pragma once

#include <cstdint>
#include <string_view>

namespace orvane::bellsynth {

// A small deterministic generator (SplitMix64). Unlike the standard distributions, its real
// numbers are the same on every compiler and library, so the generated sounds are byte-identical
// wherever the tool is built.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

    // Uniform in [lo, hi).
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

    // Uniform in [-1, 1).
    double Signed() { return 2.0 * Unit() - 1.0; }

  private:
    std::uint64_t state_;
};

// FNV-1a hash of a text: the seed that ties a bell's random details to its catalogue row.
inline std::uint64_t HashText(std::string_view text) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001B3ull;
    }
    return h;
}

}  // namespace orvane::bellsynth
