#pragma once
// Filters for the content tools: the usual second-order sections (audio EQ cookbook forms), a
// one-pole low-pass and a DC blocker. Coefficients and state are doubles so slow sweeps and low
// corner frequencies stay stable.
#include <algorithm>
#include <cmath>

namespace dsp {

constexpr double kPi = 3.14159265358979323846;

class Biquad {
public:
    void LowPass(double rate, double freq, double q) { Design(rate, freq, q, Kind::Low, 0.0); }
    void HighPass(double rate, double freq, double q) { Design(rate, freq, q, Kind::High, 0.0); }
    // Band-pass with 0 dB gain at the centre.
    void BandPass(double rate, double freq, double q) { Design(rate, freq, q, Kind::Band, 0.0); }
    void Peak(double rate, double freq, double q, double gainDb) { Design(rate, freq, q, Kind::Peak, gainDb); }

    double Process(double x) {
        double y = b0_ * x + z1_;
        z1_ = b1_ * x - a1_ * y + z2_;
        z2_ = b2_ * x - a2_ * y;
        return y;
    }
    void Reset() { z1_ = z2_ = 0.0; }

private:
    enum class Kind { Low, High, Band, Peak };

    void Design(double rate, double freq, double q, Kind kind, double gainDb) {
        freq = std::clamp(freq, 10.0, rate * 0.45);
        q = std::max(q, 0.05);
        const double w = 2.0 * kPi * freq / rate;
        const double cw = std::cos(w);
        const double alpha = std::sin(w) / (2.0 * q);
        double b0, b1, b2, a0, a1, a2;
        switch (kind) {
            case Kind::Low:
                b0 = (1.0 - cw) * 0.5;
                b1 = 1.0 - cw;
                b2 = b0;
                a0 = 1.0 + alpha;
                a1 = -2.0 * cw;
                a2 = 1.0 - alpha;
                break;
            case Kind::High:
                b0 = (1.0 + cw) * 0.5;
                b1 = -(1.0 + cw);
                b2 = b0;
                a0 = 1.0 + alpha;
                a1 = -2.0 * cw;
                a2 = 1.0 - alpha;
                break;
            case Kind::Band:
                b0 = alpha;
                b1 = 0.0;
                b2 = -alpha;
                a0 = 1.0 + alpha;
                a1 = -2.0 * cw;
                a2 = 1.0 - alpha;
                break;
            case Kind::Peak:
            default: {
                const double a = std::pow(10.0, gainDb / 40.0);
                b0 = 1.0 + alpha * a;
                b1 = -2.0 * cw;
                b2 = 1.0 - alpha * a;
                a0 = 1.0 + alpha / a;
                a1 = -2.0 * cw;
                a2 = 1.0 - alpha / a;
                break;
            }
        }
        b0_ = b0 / a0;
        b1_ = b1 / a0;
        b2_ = b2 / a0;
        a1_ = a1 / a0;
        a2_ = a2 / a0;
    }

    double b0_ = 1.0, b1_ = 0.0, b2_ = 0.0, a1_ = 0.0, a2_ = 0.0;
    double z1_ = 0.0, z2_ = 0.0;
};

class OnePoleLowPass {
public:
    void SetCutoff(double rate, double freq) { a_ = 1.0 - std::exp(-2.0 * kPi * std::max(freq, 1.0) / rate); }
    double Process(double x) {
        y_ += a_ * (x - y_);
        return y_;
    }

private:
    double a_ = 1.0;
    double y_ = 0.0;
};

// Removes the DC part of a signal: a first-order high-pass at about 20 Hz.
class DcBlocker {
public:
    explicit DcBlocker(double rate, double corner = 20.0) : r_(1.0 - 2.0 * kPi * corner / rate) {}
    double Process(double x) {
        const double y = x - x1_ + r_ * y1_;
        x1_ = x;
        y1_ = y;
        return y;
    }

private:
    double r_;
    double x1_ = 0.0;
    double y1_ = 0.0;
};

} // namespace dsp
