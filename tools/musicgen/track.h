#pragma once
// A stereo buffer exactly one loop long. Writes past the end wrap to the start, so a note or a
// reverb tail that runs over the loop point sounds at the beginning and the loop is seamless.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace music {

constexpr double kRate = 44100.0;

struct StereoTrack {
    explicit StereoTrack(std::size_t frames) : l(frames, 0.0f), r(frames, 0.0f) {}
    std::size_t Frames() const { return l.size(); }
    void Add(int64_t frame, double left, double right) {
        const int64_t n = static_cast<int64_t>(l.size());
        const std::size_t i = static_cast<std::size_t>(((frame % n) + n) % n);
        l[i] += static_cast<float>(left);
        r[i] += static_cast<float>(right);
    }
    void Clear() {
        std::fill(l.begin(), l.end(), 0.0f);
        std::fill(r.begin(), r.end(), 0.0f);
    }

    std::vector<float> l, r;
};

// Constant-power pan: -1 left .. +1 right.
struct Pan {
    explicit Pan(double pan)
        : left(std::cos((pan + 1.0) * 0.25 * 3.14159265358979323846)),
          right(std::sin((pan + 1.0) * 0.25 * 3.14159265358979323846)) {}
    double left, right;
};

} // namespace music
