#include "world/weapons/fuse.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "render/shader.h"

namespace {

float Rand01() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

} // namespace

YVector BombThrowDirection(float yaw) {
    YMatrix r;
    r.SetRotationZ(yaw);
    return YVector(r.m[4], r.m[5], r.m[6]);
}

YVector GrenadeThrowDirection(float yaw, float pitch) {
    YMatrix3 z, x;
    z.SetRotationZ(yaw);
    x.SetRotationX(pitch);
    const YMatrix3 r = x * z;
    return YVector(r.m[3], r.m[4], r.m[5]);
}

void YFuseSparks::Emit(float dt, const YMatrix& m, float rate, float up, float back) {
    static YShader* shader = FindShader("bomb_fuse_particles");
    static const float start[4] = {1.0f, 1.0f, 0.25f, 1.0f};
    static const float end[4] = {1.0f, 0.5f, 0.2f, 1.0f};
    accumulator += dt;
    const float due = std::floor(accumulator * rate);
    if (!(due >= 1.0f)) return;
    accumulator -= due / rate;
    // A stalled frame shows at most a second's worth.
    const int n = due > rate ? static_cast<int>(rate) : static_cast<int>(due);
    const YVector tip = YVector(m.m[12], m.m[13], m.m[14]) + YVector(m.m[8], m.m[9], m.m[10]) * up -
                        YVector(m.m[0], m.m[1], m.m[2]) * back;
    for (int i = 0; i < n; ++i) {
        YVector d;
        float len;
        do {
            d = YVector(Rand01() - 0.5f, Rand01() - 0.5f, Rand01() - 0.5f);
            len = std::sqrt(d.Dot(d));
        } while (len <= 1e-6f);
        const YVector v = d * (2.0f / len);
        g_ParticleSystem.Emit(0.15f, 0.1f, 0.07f, &tip, &v, -1.0f, nullptr, shader, start, end);
    }
}
