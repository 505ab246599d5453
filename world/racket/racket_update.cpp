// The racket's per-frame step: timed effects, the five play states, walking and its animation
// blend, the hero's placement and footsteps, the held and falling objects.
#include "world/racket/racket_update.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/mesh/hero_channels.h"
#include "sound/sound_fx.h"
#include "world/balls/falling_bonus_link.h"
#include "world/balls/racket_tacked.h"
#include "world/blocks/block.h"
#include "world/effects/world_sound.h"
#include "world/physics/physics_world.h"
#include "world/racket/hero_model.h"
#include "world/racket/racket.h"
#include "world/racket/racket_visuals.h"
#include "world/table/table.h"

namespace {

constexpr float PI = 3.14159265f;
constexpr float PARKED_RADIUS = 4.0f;
constexpr float LEAN = -75.0f;

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// Counts down a timer that is running; true when it ran out in this step.
bool RunDown(float& timer, float dt) {
    if (timer <= 0.0f) return false;
    timer -= dt;
    return timer <= 0.0f;
}

// A slip stumble: one of the three at random.
HeroChannel Stumble() {
    return static_cast<HeroChannel>(ChannelNumber(HeroChannel::SlipForward) + static_cast<int>(plat::CrtRand() % 3));
}

} // namespace

YRacketWalk& RacketWalk() {
    static YRacketWalk walk;
    return walk;
}

void YRacket::RacketUpdate(float dt) {
    RunDownEffects(dt);
    bool moving = std::fabs(posX - target) > 0.01f;
    if (FrostHolds(dt)) moving = false;
    const float ease = SlipEase(dt);
    if (!PlayStateStep(dt, moving)) return;
    const float w = Walk(dt, moving, ease);
    PlaceHero(dt, w);
    UpdateObjects(dt);
    UpdateRacketVisuals(*this, dt);
}

void YRacket::RunDownEffects(float dt) {
    if (RunDown(ballModeTime, dt)) SetBallModeAll(0, -1.0f);
    // The gloves throw a caught ball when they run out, unless the hero is frozen.
    if (RunDown(glovesTime, dt) && held && frostTime <= 0.0f && held->kind == TACKED_BALL) ReleaseTacked(false);
    if (slumberTime > 0.0f) {
        if (RunDown(slumberTime, dt)) {
            hero.rate = 100.0f;
            speedFactor = 1.0f;
        }
    } else if (RunDown(vivacityTime, dt)) {
        hero.rate = 100.0f;
        speedFactor = 1.0f;
    }
    ShieldTick(dt);
}

bool YRacket::FrostHolds(float dt) {
    if (frostTime <= 0.0f) return false;
    if (RunDown(frostTime, dt)) {
        frostCover.visible = 0;
        return false;
    }
    SetFrostStrength(std::min(1.0f, (frostTime + 0.33f) * 0.75f));
    return true;
}

float YRacket::SlipEase(float dt) {
    if (slipTime <= 0.0f) return 1.0f;
    if (RunDown(slipTime, dt)) {
        g_PhysicsWorld.SetContactFriction(-1.0f);
        return 1.0f;
    }
    // During the last second the friction, the ease and the ice fade back.
    const float k = std::max(0.0f, 1.0f - slipTime);
    g_PhysicsWorld.SetContactFriction(0.1f + 100.0f * k);
    if (g_Table) g_Table->frostLevel = 0.75f * (1.0f - k);
    return 0.25f + 0.75f * k;
}

bool YRacket::PlayStateStep(float dt, bool& moving) {
    switch (state) {
        case RACKET_PLAY:
            if (AllBlocksCleared()) {
                LevelComplete();
            } else {
                IdleGestures(dt);
            }
            if (!moving) {
                tilt = 0.0f;
                if (listener) listener->OnRacketHits(hits);
            }
            return true;
        case RACKET_BALL_LOST:
            if (hero.Playing(HeroChannel::BallLost)) {
                moving = false;
            } else {
                target = 0.0f;
                state = RACKET_RETURN;
            }
            return true;
        case RACKET_RETURN:
            if (moving) return true;
            state = RACKET_PLAY;
            // The serve runs a step of its own to place the hero and the new ball.
            NewRound();
            return false;
        case RACKET_STANDING: moving = false; return true;
        default:
            // Parked: the hero walks its circle round the table centre, and nothing else happens.
            ParkedWalk(dt);
            return false;
    }
}

void YRacket::IdleGestures(float dt) {
    idleTime -= dt;
    if (idleTime >= 0.0f) return;
    HeroChannel gesture;
    if (!held && plat::CrtRand() < 8191) {
        gesture = HeroChannel::IdleScratchHead;
    } else {
        gesture = plat::CrtRand() >= 16383 ? HeroChannel::IdleStretchBack : HeroChannel::IdleLookRound;
    }
    hero.StartChannel(gesture, -1.0f, -1.0f);
    idleTime = 9.0f + 2.0f * Unit();
}

void YRacket::ParkedWalk(float dt) {
    YRacketWalk& walk = RacketWalk();
    const std::vector<float>& turns = HeroRootTurns(hero.skeleton);
    const YAnimChannelState* ch = hero.Channel(HeroChannel::ParkedWalk);
    float u = 0.0f;
    if (!turns.empty() && ch) {
        const int last = static_cast<int>(turns.size()) - 1;
        const int i = std::clamp(ch->position, 0, last);
        const float f = ch->duration > 0.0f ? ch->time / ch->duration : 0.0f;
        u = i < 1 ? turns[0] * f : turns[i - 1] + (turns[i] - turns[i - 1]) * f;
        if (i < 1 && walk.parkedKey > 0) walk.parkedAngle += turns[last];
        walk.parkedKey = i;
    }
    float angleDeg = (walk.parkedAngle + u) * 180.0f / (PARKED_RADIUS * PI);
    if (angleDeg < -360.0f) {
        angleDeg += 360.0f;
        walk.parkedAngle = PARKED_RADIUS * PI * angleDeg / 180.0f - u;
    }
    hero.UpdateChannels(dt);
    YMatrix along;
    along.MatrixSetTranslation(YVector(PARKED_RADIUS, 0.0f, 0.0f));
    YMatrix turn;
    turn.SetRotationZ(angleDeg);
    const YMatrix m = turn * along;
    hero.SetTransform(m.m);
    hero.UpdatePose();
}

float YRacket::Walk(float dt, bool moving, float ease) {
    const float far = walkRange > 0.0f ? std::min(1.0f, std::fabs(posX - target) / walkRange) : 1.0f;
    if (!moving) {
        velocity = 0.0f;
        StandStill();
        return far;
    }
    const float a = dt * acceleration * (posX < target ? 1.0f : -1.0f);
    if ((a > 0.0f && velocity < 0.0f) || (a < 0.0f && velocity > 0.0f)) velocity = 0.0f; // reversing stops at once
    const float v = velocity + a;
    const float dir = v < 0.0f ? -1.0f : 1.0f;
    const float w = std::min(far, std::fabs(v / maxSpeed));
    velocity += (dir * maxSpeed * w - velocity) * ease;
    tilt = dir * w * LEAN;
    const float next = posX + velocity * speedFactor * dt;
    if ((posX < target && target < next) || (next < target && target < posX)) {
        if (ease < 1.0f) {
            // Slipping: the hero stops short of its target and may stumble.
            if (std::fabs(velocity) > 1.0f) hero.StartChannel(Stumble(), -1.0f, -1.0f);
        } else {
            posX = target;
        }
        velocity = 0.0f;
    } else {
        posX = next;
        if (ease < 1.0f) StumbleNowAndThen(dt);
    }
    WalkBlend(w, dir);
    return w;
}

void YRacket::StumbleNowAndThen(float dt) {
    YRacketWalk& walk = RacketWalk();
    walk.stumbleCountdown -= dt;
    if (walk.stumbleCountdown > 0.0f) return;
    hero.StartChannel(Stumble(), -1.0f, -1.0f);
    walk.stumbleCountdown = 1.0f + 2.0f * Unit();
}

void YRacket::WalkBlend(float w, float dir) {
    hero.StartChannel(HeroChannel::Stand, -1.0f, std::max(0.0f, 1.0f - 8.0f * w));
    hero.StartChannel(HeroChannel::SlowWalk, -1.0f, w < 0.25f ? 4.0f * w : std::max(0.0f, 1.0f - 4.0f * (w - 0.25f)));
    hero.StartChannel(HeroChannel::Walk, -1.0f,
                      w < 0.5f ? std::max(0.0f, 2.6666667f * (w - 0.125f)) : 1.0f - 2.0f * (w - 0.5f));
    const float run = 2.0f * std::max(0.0f, 2.0f * w - 1.0f);
    if (dir > 0.0f) {
        hero.StartChannel(HeroChannel::RunTowardsPlusX, -1.0f, run);
        hero.StopChannel(HeroChannel::RunTowardsMinusX, -1.0f);
    } else {
        hero.StartChannel(HeroChannel::RunTowardsMinusX, -1.0f, run);
        hero.StopChannel(HeroChannel::RunTowardsPlusX, -1.0f);
    }
}

void YRacket::StandStill() {
    hero.StartChannel(HeroChannel::Stand, -1.0f, 1.0f);
    hero.StopChannel(HeroChannel::SlowWalk, -1.0f);
    hero.StopChannel(HeroChannel::Walk, -1.0f);
    hero.StopChannel(HeroChannel::RunTowardsMinusX, -1.0f);
    hero.StopChannel(HeroChannel::RunTowardsPlusX, -1.0f);
}

void YRacket::PlaceHero(float dt, float w) {
    const YMatrix placed = Placement();
    if (frostTime > 0.0f) return; // a frozen hero stands still
    const int keyBefore = hero.Key(HeroChannel::SlowWalk);
    hero.UpdateChannels(dt);
    hero.SetTransform(placed.m);
    hero.UpdatePose();
    // A foot comes down as the slow walk reaches its last pose or pose 2.
    const int key = hero.Key(HeroChannel::SlowWalk);
    if (key != keyBefore && (key == 0 || key == 3)) {
        static YSoundFx* step = GetSoundFx("hero_step");
        const YVector at(posX, posY, 0.0f);
        PlayWorldSound(step, &at, std::min(1.0f, 2.0f * w), nullptr);
    }
}

void YRacket::UpdateObjects(float dt) {
    // The held one in the hand, the falling bonuses, every held-capable object.
    AttachHeld(held);
    FallingBonusLink().updateAll(dt);
    bool ballInPlay = false;
    const std::vector<YRacketTacked*>& tacked = TackedList();
    for (std::size_t i = 0; i < tacked.size(); ++i) {
        YRacketTacked* obj = tacked[i];
        obj->Update(dt);
        if (i < tacked.size() && tacked[i] == obj && obj->IsBallInPlay()) ballInPlay = true;
    }
    if (!ballInPlay) OnBonusDeath();
}
