#include "world/bonus/bonus_bursts.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "world/racket/racket.h"

YSpaceRacketVortex g_SpaceRacketVortex;
YSpaceRacketIn g_SpaceRacketIn;

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// HSV with saturation 0.75 and value 1 of hue h in 0..1.
void Hue(float h, float rgb[3]) {
    const float s = 6.0f * (h - std::floor(h));
    const float f = s - std::floor(s);
    const float q = 1.0f - 0.75f * f;
    const float t = 1.0f - 0.75f * (1.0f - f);
    float r = 1.0f, g = t, b = 0.25f;
    switch (static_cast<int>(s)) {
        case 0: r = 1.0f, g = t, b = 0.25f; break;
        case 1: r = q, g = 1.0f, b = 0.25f; break;
        case 2: r = 0.25f, g = 1.0f, b = t; break;
        case 3: r = 0.25f, g = q, b = 1.0f; break;
        case 4: r = t, g = 0.25f, b = 1.0f; break;
        default: r = 1.0f, g = 0.25f, b = q; break;
    }
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

void WhirlingSparks(const YVector* at, const float* fixedColour) {
    static YShader* shader = FindShader("spark2");
    const YVector still(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 20; ++i) {
        const YVector d = RandomUnitVector();
        float rgb[3];
        if (fixedColour) {
            rgb[0] = fixedColour[0];
            rgb[1] = fixedColour[1];
            rgb[2] = fixedColour[2];
        } else {
            Hue(Unit(), rgb);
        }
        const float from[4] = {rgb[0], rgb[1], rgb[2], 1.0f};
        const float to[4] = {rgb[0], rgb[1], rgb[2], 0.1f};
        const float life = 1.0f - 0.0625f + 0.125f * Unit();
        const YVector p = *at + d * 2.0f;
        g_ParticleSystem.Emit(life, 0.3f, 0.2f, &p, &still, -1.0f, &g_SpaceRacketVortex, shader, from, to);
    }
}

float BurstLife() { return 0.5f - 0.0125f + 0.025f * Unit(); }

} // namespace

YVector RacketPlace() { return g_Racket ? YVector(g_Racket->posX, g_Racket->posY, 0.0f) : YVector(0.0f, 0.0f, 0.0f); }

YVector RandomUnitVector() {
    for (;;) {
        YVector d(Unit() - 0.5f, Unit() - 0.5f, Unit() - 0.5f);
        const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        if (length > 1e-6f) return d * (1.0f / length);
    }
}

void YSpaceRacketVortex::Apply(YParticle* particle, float dt) {
    const YVector r = RacketPlace();
    const YVector d(particle->position.x - r.x, particle->position.y - r.y, 0.0f);
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    if (length * 0.5f < 1e-6f) return;
    const YVector n = d * (1.0f / length);
    const YVector a(n.y - d.x * 0.5f, -n.x - d.y * 0.5f, 0.05f);
    particle->velocity = particle->velocity + a * (dt * 50.0f);
}

void YSpaceRacketIn::Apply(YParticle* particle, float dt) {
    const YVector r = RacketPlace();
    const YVector d(r.x - particle->position.x, r.y - particle->position.y, 2.5f - particle->position.z);
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (length < 1e-6f) return;
    particle->velocity = particle->velocity + d * (dt * 50.0f / length);
}

void SpawnBonusCatchSparks(const YVector* at) { WhirlingSparks(at, nullptr); }

void SpawnBonusColdSparks(const YVector* at) {
    static const float cold[3] = {0.5f, 0.5f, 1.0f};
    WhirlingSparks(at, cold);
}

void SpawnBonusLifeBurst() {
    static YShader* shader = FindShader("spark");
    static const float from[4] = {0.2f, 1.0f, 0.1f, 1.0f};
    static const float to[4] = {0.2f, 1.0f, 0.1f, 0.1f};
    const YVector r = RacketPlace();
    const YVector still(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 30; ++i) {
        const YVector d = RandomUnitVector();
        const YVector p(r.x + 5.0f * d.x, r.y + 5.0f * d.y, 2.5f + 5.0f * d.z);
        g_ParticleSystem.Emit(BurstLife(), 0.05f, 0.3f, &p, &still, -1.0f, &g_SpaceRacketIn, shader, from, to);
    }
}

void SpawnBonusDeathBurst() {
    static YShader* shader = FindShader("spark");
    static const float from[4] = {1.0f, 0.2f, 0.1f, 1.0f};
    static const float to[4] = {1.0f, 0.2f, 0.1f, 0.1f};
    const YVector r = RacketPlace();
    const YVector p(r.x, r.y, 2.5f);
    for (int i = 0; i < 30; ++i) {
        const YVector v = RandomUnitVector() * 7.5f;
        g_ParticleSystem.Emit(BurstLife(), 0.3f, 0.1f, &p, &v, -1.0f, nullptr, shader, from, to);
    }
}
