#include "core/xorshift.h"

namespace {

XorShiftState g_state;

} // namespace

uint32_t XorShiftNext(XorShiftState& s) {
    const uint32_t t = s.x ^ (s.x >> 7);
    s.x = s.y;
    s.y = s.z;
    s.z = s.w;
    s.w = s.v;
    s.v = (s.v ^ (s.v << 6)) ^ (t ^ (t << 13));
    return (2u * s.y + 1u) * s.v;
}

uint32_t XorShiftRand() { return XorShiftNext(g_state); }

float XorShiftUnit() { return static_cast<float>(XorShiftRand() % 32767u) * (1.0f / 32767.0f); }

int XorShiftRoulette(const float* weights, int count) {
    float total = 0.0f;
    for (int k = 0; k < count; ++k) total += weights[k];
    if (!(total > 0.0f)) return -1;
    for (;;) {
        const float u = XorShiftUnit();
        float sum = 0.0f;
        for (int k = 0; k < count; ++k) {
            sum += weights[k];
            if (sum >= u) return k;
        }
    }
}
