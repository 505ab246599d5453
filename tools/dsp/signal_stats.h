#pragma once
// Level measurements and clean edges for generated sound: peak, RMS and DC offset of a block of
// samples, raised-cosine fades, and scaling to a peak level.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace dsp {

struct SignalStats {
    double peak = 0.0; // largest |sample|
    double rms = 0.0;
    double dc = 0.0;    // mean
    bool finite = true; // no NaN or infinity
};

// Statistics of `count` samples taken every `stride` values (stride 2 reads one stereo channel).
inline SignalStats Measure(const float* data, std::size_t count, std::size_t stride = 1) {
    SignalStats s;
    if (count == 0) return s;
    double sum = 0.0, sq = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double v = data[i * stride];
        if (!std::isfinite(v)) {
            s.finite = false;
            continue;
        }
        sum += v;
        sq += v * v;
        s.peak = std::max(s.peak, std::fabs(v));
    }
    s.dc = sum / static_cast<double>(count);
    s.rms = std::sqrt(sq / static_cast<double>(count));
    return s;
}

// Loudness of a short sound as heard: the RMS over the 10 ms windows whose own RMS is within
// 20 dB of the loudest window, so that a sharp crack with a long quiet tail and a sustained sound
// compare by what the ear takes in, not by their silent parts or lone peaks.
inline double ActiveRms(const float* data, std::size_t count, double rate) {
    const std::size_t window = std::max<std::size_t>(1, static_cast<std::size_t>(0.01 * rate));
    std::vector<double> energy;
    for (std::size_t at = 0; at < count; at += window) {
        const std::size_t n = std::min(window, count - at);
        double sq = 0.0;
        for (std::size_t i = 0; i < n; ++i) sq += static_cast<double>(data[at + i]) * data[at + i];
        energy.push_back(sq / static_cast<double>(n));
    }
    if (energy.empty()) return 0.0;
    const double loudest = *std::max_element(energy.begin(), energy.end());
    double sum = 0.0;
    std::size_t used = 0;
    for (double e : energy)
        if (e >= loudest * 0.01) { // within 20 dB
            sum += e;
            ++used;
        }
    return used > 0 ? std::sqrt(sum / static_cast<double>(used)) : 0.0;
}

// Raised-cosine fade over the first `len` samples.
inline void FadeIn(float* data, std::size_t count, std::size_t len) {
    len = std::min(len, count);
    for (std::size_t i = 0; i < len; ++i) {
        const double g =
            0.5 - 0.5 * std::cos(3.14159265358979323846 * static_cast<double>(i) / static_cast<double>(len));
        data[i] = static_cast<float>(data[i] * g);
    }
}

// Raised-cosine fade over the last `len` samples; the last sample becomes 0.
inline void FadeOut(float* data, std::size_t count, std::size_t len) {
    len = std::min(len, count);
    for (std::size_t i = 0; i < len; ++i) {
        const double g =
            0.5 - 0.5 * std::cos(3.14159265358979323846 * static_cast<double>(i) / static_cast<double>(len));
        data[count - 1 - i] = static_cast<float>(data[count - 1 - i] * g);
    }
}

// Scales so the peak becomes `target`; returns the gain applied (0 for silence).
inline double NormalisePeak(float* data, std::size_t count, double target) {
    const double peak = Measure(data, count).peak;
    if (peak <= 0.0) return 0.0;
    const double gain = target / peak;
    for (std::size_t i = 0; i < count; ++i) data[i] = static_cast<float>(data[i] * gain);
    return gain;
}

// A level in decibels relative to full scale; silence reads as -120.
inline double Dbfs(double v) { return v > 0.0 ? 20.0 * std::log10(v) : -120.0; }

inline short ToPcm16(double v) {
    const double s = std::round(std::clamp(v, -1.0, 1.0) * 32767.0);
    return static_cast<short>(s);
}

} // namespace dsp
