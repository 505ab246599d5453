#include "tools/musicgen/effects.h"

#include <vector>

#include "tools/dsp/filters.h"

namespace music {

namespace {

class Comb {
public:
    Comb(std::size_t size, double feedback, double damping)
        : buf_(size, 0.0f), feedback_(feedback), damp1_(damping), damp2_(1.0 - damping) {}
    double Process(double in) {
        const double out = buf_[i_];
        store_ = out * damp2_ + store_ * damp1_;
        buf_[i_] = static_cast<float>(in + store_ * feedback_);
        if (++i_ == buf_.size()) i_ = 0;
        return out;
    }

private:
    std::vector<float> buf_;
    std::size_t i_ = 0;
    double store_ = 0.0;
    double feedback_, damp1_, damp2_;
};

class AllPass {
public:
    explicit AllPass(std::size_t size) : buf_(size, 0.0f) {}
    double Process(double in) {
        const double b = buf_[i_];
        buf_[i_] = static_cast<float>(in + b * 0.5);
        if (++i_ == buf_.size()) i_ = 0;
        return b - in;
    }

private:
    std::vector<float> buf_;
    std::size_t i_ = 0;
};

class Room {
public:
    Room(double roomSize, double damping, std::size_t spread) {
        static const std::size_t combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        static const std::size_t allpasses[4] = {556, 441, 341, 225};
        const double feedback = 0.28 * roomSize + 0.7;
        for (std::size_t c : combs) combs_.emplace_back(c + spread, feedback, damping * 0.4);
        for (std::size_t a : allpasses) allpasses_.emplace_back(a + spread);
    }
    double Process(double in) {
        double out = 0.0;
        for (Comb& c : combs_) out += c.Process(in * 0.015);
        for (AllPass& a : allpasses_) out = a.Process(out);
        return out;
    }

private:
    std::vector<Comb> combs_;
    std::vector<AllPass> allpasses_;
};

} // namespace

void AddReverb(const StereoTrack& send, StereoTrack& out, double roomSize, double damping, double level) {
    Room left(roomSize, damping, 0), right(roomSize, damping, 23);
    const std::size_t n = send.Frames();
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            const double in = send.l[i] + send.r[i];
            const double l = left.Process(in);
            const double r = right.Process(in);
            if (pass == 1) out.Add(static_cast<int64_t>(i), 3.0 * level * l, 3.0 * level * r);
        }
    }
}

void AddEcho(const StereoTrack& send, StereoTrack& out, double delay, double feedback, double level) {
    const std::size_t d = static_cast<std::size_t>(delay * kRate);
    if (d == 0) return;
    std::vector<float> bl(d, 0.0f), br(d, 0.0f);
    dsp::OnePoleLowPass tone;
    tone.SetCutoff(kRate, 3500.0);
    std::size_t k = 0;
    const std::size_t n = send.Frames();
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; i < n; ++i) {
            const double l = bl[k], r = br[k];
            const double in = 0.5 * (send.l[i] + send.r[i]);
            bl[k] = static_cast<float>(tone.Process(in + feedback * r));
            br[k] = static_cast<float>(feedback * l);
            if (++k == d) k = 0;
            if (pass == 1) out.Add(static_cast<int64_t>(i), level * l, level * r);
        }
    }
}

void HighPassLoop(StereoTrack& t, double freq) {
    dsp::Biquad l, r;
    l.HighPass(kRate, freq, 0.7);
    r.HighPass(kRate, freq, 0.7);
    const std::size_t n = t.Frames();
    for (std::size_t i = 0; i < n; ++i) {
        l.Process(t.l[i]);
        r.Process(t.r[i]);
    }
    for (std::size_t i = 0; i < n; ++i) {
        t.l[i] = static_cast<float>(l.Process(t.l[i]));
        t.r[i] = static_cast<float>(r.Process(t.r[i]));
    }
}

} // namespace music
