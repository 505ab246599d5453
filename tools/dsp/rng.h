#pragma once
// A small seeded generator for the content tools. Every generator seeds its own instance, so a run
// writes the same bytes every time and one sound's randomness never shifts another's.
#include <cstdint>
#include <string_view>

namespace dsp {

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {
        if (state_ == 0) state_ = 0x853C49E6748FEA9Bull;
        Next();
    }

    // xorshift64*
    uint64_t Next() {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    // [0, 1)
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    // [-1, 1)
    double Bipolar() { return Uniform() * 2.0 - 1.0; }
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
    // 0 .. n-1 (n > 0)
    int Below(int n) { return static_cast<int>(Uniform() * n); }
    bool Chance(double p) { return Uniform() < p; }

private:
    uint64_t state_;
};

// FNV-1a of a name, to derive per-sound seeds from their names.
inline uint64_t HashName(std::string_view name) {
    uint64_t h = 1469598103934665603ull;
    for (char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

} // namespace dsp
