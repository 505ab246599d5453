// The specials that change a touching ball's mode: fire, water, heavy and electro.
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "sound/sound_fx.h"
#include "world/balls/ball.h"
#include "world/balls/ball_mode_rules.h"
#include "world/balls/ball_mode_timeout.h"
#include "world/effects/world_sound.h"
#include "world/specials/block_specials.h"
#include "world/specials/fire_emission.h"

namespace {

float Rand01() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// Makes the ball behind `other` mode m for a quarter of that mode bonus's time; a ball in that
// mode already keeps the longer time and hears nothing.
void ModeEffect(YBumpEvent* other, int m, YSoundFx* sound) {
    YBall* ball = other ? other->GetBall() : nullptr;
    if (!ball) return;
    float time = 0.0f;
    const float T = SpecialModeTime(BallModeTimeout(m));
    if (!SpecialModeChange(ball->ModeIndex(), ball->modeTime, m, T, &time)) {
        ball->modeTime = time;
        return;
    }
    ball->SetMode(m, time);
    YMatrix place;
    ball->GetMatrix(&place);
    const YVector p(place.m[12], place.m[13], place.m[14]);
    PlayWorldSound(sound, &p);
}

// A point inside a block of this extent, away from its centre.
YVector ArcTarget(const YVector& size) {
    const float m = std::fmin(size.x, std::fmin(size.y, size.z));
    const float keep = (m * 0.25f) * (m * 0.25f);
    for (int tries = 0; tries < 64; ++tries) {
        const YVector p(Rand01() * (size.x - 0.3f) - (size.x - 0.3f) * 0.5f,
                        Rand01() * (size.y - 0.3f) - (size.y - 0.3f) * 0.5f,
                        Rand01() * (size.z - 0.3f) - (size.z - 0.3f) * 0.5f);
        if (p.Dot(p) > keep) return p;
    }
    // A block too thin to hold such a point: a corner of its inner box.
    return YVector((size.x - 0.3f) * 0.5f, (size.y - 0.3f) * 0.5f, (size.z - 0.3f) * 0.5f);
}

} // namespace

bool YBlockFire::Hit(YBumpEvent* other, YBlockSingle* block) {
    static YSoundFx* sound = GetSoundFx("firing");
    if (other) ModeEffect(other, BALL_FIRE, sound);
    return true;
}

bool YBlockFire::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) { return Hit(other, nullptr); }

void YBlockFire::UpdatePlaced(float dt, const YMatrix* world, const YVector* size) {
    EmitBlockFlames(&accumulator, dt, *world, *size);
}

bool YBlockWater::Hit(YBumpEvent* other, YBlockSingle* block) {
    static YSoundFx* sound = GetSoundFx("psshh");
    YBall* ball = other ? other->GetBall() : nullptr;
    if (ball && WaterModeAfter(ball->ModeIndex()) != ball->ModeIndex()) {
        ball->SetMode(BALL_NORMAL, 0.0f);
        YMatrix place;
        ball->GetMatrix(&place);
        const YVector p(place.m[12], place.m[13], place.m[14]);
        PlayWorldSound(sound, &p);
    }
    return true;
}

bool YBlockWater::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) { return Hit(other, nullptr); }

bool YBlockHeavy::Hit(YBumpEvent* other, YBlockSingle* block) {
    static YSoundFx* sound = GetSoundFx("heavy");
    ModeEffect(other, BALL_HEAVY, sound);
    return true;
}

bool YBlockHeavy::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) { return Hit(other, nullptr); }

bool YBlockElectro::Hit(YBumpEvent* other, YBlockSingle* block) {
    static YSoundFx* sound = GetSoundFx("lightning");
    ModeEffect(other, BALL_ELECTRO, sound);
    return true;
}

bool YBlockElectro::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) { return Hit(other, nullptr); }

void YBlockElectro::UpdatePlaced(float dt, const YMatrix* world, const YVector* size) {
    if (timer == 0.0f) {
        for (Arc& arc : arcs) arc.target = ArcTarget(*size);
        timer = 0.15f + 0.3f * Rand01();
    } else {
        timer -= dt;
        if (timer <= 0.0f) {
            timer = 0.5f + Rand01();
            arcs[plat::CrtRand() % 3].target = ArcTarget(*size);
        }
    }
    const YVector centre(world->m[12], world->m[13], world->m[14]);
    for (Arc& arc : arcs) {
        const YVector to = world->TransformPoint(arc.target);
        BuildLightning(arc.segments, 3, &centre, &to, 0.25f, 0.3f);
    }
}
