#pragma once
// Band-limited oscillators (polyBLEP corrections at the steps) for the content tools. Phase is in
// cycles, 0..1; `inc` is frequency / sample rate.
#include <cmath>

namespace dsp {

inline double PolyBlep(double t, double inc) {
    if (t < inc) {
        t /= inc;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - inc) {
        t = (t - 1.0) / inc;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

class Phase {
public:
    explicit Phase(double start = 0.0) : p_(start) {}
    // Returns the phase before advancing.
    double Step(double inc) {
        const double p = p_;
        p_ += inc;
        p_ -= std::floor(p_);
        return p;
    }
    double Value() const { return p_; }

private:
    double p_;
};

inline double SawBlep(double p, double inc) { return 2.0 * p - 1.0 - PolyBlep(p, inc); }

inline double PulseBlep(double p, double inc, double width) {
    double q = p + (1.0 - width);
    q -= std::floor(q);
    double v = p < width ? 1.0 : -1.0;
    v += PolyBlep(p, inc);
    v -= PolyBlep(q, inc);
    return v;
}

// A triangle made from the sine's first three odd harmonics: soft, with no steps to alias.
inline double SoftTriangle(double p) {
    const double w = 2.0 * 3.14159265358979323846 * p;
    return 0.8106 * (std::sin(w) - std::sin(3.0 * w) / 9.0 + std::sin(5.0 * w) / 25.0);
}

inline double MidiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

} // namespace dsp
