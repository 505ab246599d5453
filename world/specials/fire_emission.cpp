#include "world/specials/fire_emission.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "render/shader.h"

YSpaceGravity FireUpdraft(YVector(0.0f, 0.0f, 3.0f));

namespace {

float Rand01() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

float Spread(float extent) {
    const float e = extent - 0.5f;
    return Rand01() * e - e * 0.5f;
}

} // namespace

int EmitBlockFlames(float* accumulator, float dt, const YMatrix& world, const YVector& size) {
    static YShader* shader = FindShader("ballfire_particles");
    static const float start[4] = {1.0f, 0.7f, 0.5f, 0.2f};
    static const float end[4] = {1.0f, 0.3f, 0.0f, 1.0f};
    *accumulator += dt;
    const float rate = size.x * size.y * size.z * 10.0f;
    if (!(rate > 0.0f)) {
        *accumulator = 0.0f;
        return 0;
    }
    const float due = std::floor(*accumulator * rate);
    if (!(due >= 1.0f)) return 0;
    *accumulator -= due / rate;
    // A stalled frame shows at most a second's worth (and at least the one particle due).
    const float cap = rate > 1.0f ? std::floor(rate) : 1.0f;
    const int n = static_cast<int>(due > cap ? cap : due);
    const YVector still(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < n; ++i) {
        const YVector local(Spread(size.x), Spread(size.y), Spread(size.z));
        const YVector p = world.TransformPoint(local);
        g_ParticleSystem.Emit(0.7f, 0.5f, 0.05f, &p, &still, -1.0f, &FireUpdraft, shader, start, end);
    }
    return n;
}
