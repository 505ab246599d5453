// What the glowing modes show while they live: the phantom's trail, the flames and light of fire
// and explosive balls, and the electro ball's lightning strikes.
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/balls/ball.h"
#include "world/balls/ball_mode.h"
#include "world/blocks/block_hits.h"
#include "world/effects/world_sound.h"
#include "world/table/table.h"

namespace {

float Rand01() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// A random unit direction: components rand()/32767 - 0.5, drawn again while too short.
YVector RandomDirection() {
    for (;;) {
        YVector d(Rand01() - 0.5f, Rand01() - 0.5f, Rand01() - 0.5f);
        const float len = std::sqrt(d.Dot(d));
        if (len > 1e-6f) return d * (1.0f / len);
    }
}

// The whole number of items due at `rate` per second; the accumulator keeps the rest.
int Due(float* accumulator, float dt, float rate) {
    *accumulator += dt;
    const float n = std::floor(*accumulator * rate);
    if (!(n >= 1.0f)) return 0;
    // A stalled frame emits at most a second's worth.
    const int count = n > rate ? static_cast<int>(rate) : static_cast<int>(n);
    *accumulator -= n / rate;
    return count;
}

void Flames(float* accumulator, float dt, const YVector& p, float radius, const float start[4], const float end[4],
            const float light[4]) {
    static YShader* shader = FindShader("ballfire_particles");
    const int n = Due(accumulator, dt, 25.0f);
    const YVector still(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < n; ++i) {
        const YVector at = p + RandomDirection() * (radius * 0.4f);
        const float life = 0.4f + Rand01() * 0.05f - 0.025f;
        g_ParticleSystem.Emit(life, 0.75f, 0.1f, &at, &still, -1.0f, nullptr, shader, start, end);
    }
    AddLightSpot(&p, light, 3.0f);
}

} // namespace

void YBallPhantom::Update(float dt) {
    if (IsHeld()) return;
    static YShader* shader = FindShader("ballphantom_particles");
    static const float start[4] = {0.8f, 0.8f, 1.0f, 1.0f};
    static const float end[4] = {0.8f, 0.8f, 1.0f, 0.5f};
    const int n = Due(&accumulator, dt, 20.0f);
    if (n < 1 || !owner) return;
    YVector v;
    owner->body.GetLinearVel(&v);
    v = v * 0.75f;
    const YVector p = Position();
    for (int i = 0; i < n; ++i) {
        const YVector at = p + RandomDirection() * (radius * 1.1f);
        const float life = 0.25f + Rand01() * 0.015f - 0.0075f;
        g_ParticleSystem.Emit(life, 0.25f, 0.01f, &at, &v, -1.0f, nullptr, shader, start, end);
    }
}

void YBallFire::Update(float dt) {
    static const float fireStart[4] = {1.0f, 0.7f, 0.5f, 1.0f};
    static const float fireEnd[4] = {1.0f, 0.3f, 0.0f, 0.75f};
    static const float fireLight[4] = {1.0f, 0.7f, 0.5f, 1.0f};
    static const float boomStart[4] = {1.0f, 0.3f, 0.5f, 1.0f};
    static const float boomEnd[4] = {0.5f, 0.3f, 1.0f, 0.1f};
    static const float boomLight[4] = {1.0f, 0.3f, 0.5f, 1.0f};
    if (index == BALL_EXPLOSIVE)
        Flames(&accumulator, dt, Position(), radius, boomStart, boomEnd, boomLight);
    else
        Flames(&accumulator, dt, Position(), radius, fireStart, fireEnd, fireLight);
}

YBallElectro::YBallElectro() : YBallModeSuper(BALL_ELECTRO) {
    for (ElectroArc& arc : arcs) {
        arc.state = ElectroArc::RESTING;
        arc.timer = Rand01();
    }
}

YBallElectro::~YBallElectro() {
    for (ElectroArc& arc : arcs)
        if (arc.state == ElectroArc::STRIKING) ReleaseTarget(arc.target);
}

void YBallElectro::Update(float dt) {
    static YSoundFx* sound = GetSoundFx("lightning");
    static const float light[4] = {0.5f, 0.5f, 1.0f, 1.0f};
    const YVector p = Position();
    if (!IsHeld()) {
        for (ElectroArc& arc : arcs) {
            switch (arc.state) {
                case ElectroArc::IDLE:
                    arc.target = PickLightningTarget(&p, 7.0f);
                    if (arc.target) {
                        arc.state = ElectroArc::STRIKING;
                        arc.timer = 0.0f;
                        PlayWorldSound(sound, &p);
                    }
                    break;
                case ElectroArc::STRIKING:
                    arc.timer += dt;
                    if (arc.timer < 0.25f) {
                        if (!IsTargetAlive(arc.target)) {
                            arc.state = ElectroArc::RESTING;
                            arc.timer = 0.0f;
                            arc.target = nullptr;
                        } else {
                            const YVector to = TargetPosition(arc.target);
                            BuildLightning(arc.segments, 10, &p, &to, 0.25f, 1.0f);
                        }
                    } else {
                        arc.state = ElectroArc::RESTING;
                        arc.timer = 0.0f;
                        if (IsTargetAlive(arc.target)) DoomTarget(arc.target);
                        arc.target = nullptr;
                    }
                    break;
                default:
                    arc.timer += dt;
                    if (arc.timer >= 1.0f) {
                        arc.state = ElectroArc::IDLE;
                        arc.timer = 0.0f;
                    }
                    break;
            }
        }
    }
    AddLightSpot(&p, light, 3.0f);
}
