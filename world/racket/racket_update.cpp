// The racket's per-frame step: timed effects, the five play states, walking and its animation
// blend, the hero's placement and footsteps, the held and falling objects.
#include "world/racket/racket_update.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/mesh/hero_channels.h"
#include "sound/sound_fx.h"
#include "world/blocks/block.h"
#include "world/physics/physics_world.h"
#include "world/racket/falling_bonus_link.h"
#include "world/racket/hero_model.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/racket/racket_visuals.h"
#include "world/table/table.h"
#include "world/world_sound.h"

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

bool ChannelActive(const YSkelMeshInstance& hero, int channel) {
    return static_cast<std::size_t>(channel) < hero.channels.size() &&
           hero.channels[static_cast<std::size_t>(channel)].state != CHANNEL_STOPPED;
}

int ChannelKey(const YSkelMeshInstance& hero, int channel) {
    if (static_cast<std::size_t>(channel) >= hero.channels.size()) return -1;
    return hero.channels[static_cast<std::size_t>(channel)].position;
}

} // namespace

YRacketWalk& RacketWalk() {
    static YRacketWalk walk;
    return walk;
}

void YRacket::RacketUpdate(float dt) {
    // Timed effects.
    if (RunDown(ballModeTime, dt)) SetBallModeAll(0, -1.0f);
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

    bool moving = std::fabs(posX - target) > 0.01f;
    if (frostTime > 0.0f) {
        if (RunDown(frostTime, dt)) {
            frostCover.visible = 0;
        } else {
            moving = false;
            SetFrostStrength(std::min(1.0f, (frostTime + 0.33f) * 0.75f));
        }
    }
    float ease = 1.0f;
    if (slipTime > 0.0f) {
        if (RunDown(slipTime, dt)) {
            g_PhysicsWorld.SetContactFriction(-1.0f);
        } else {
            const float k = std::max(0.0f, 1.0f - slipTime);
            ease = 0.25f + 0.75f * k;
            g_PhysicsWorld.SetContactFriction(0.1f + 100.0f * k);
            if (g_Table) g_Table->frostLevel = 0.75f * (1.0f - k);
        }
    }

    // The play states.
    switch (state) {
        case RACKET_PLAY:
            if (AllBlocksCleared()) {
                LevelComplete();
            } else {
                idleTime -= dt;
                if (idleTime < 0.0f) {
                    int channel;
                    if (!held && plat::CrtRand() < 8191) {
                        channel = 21;
                    } else {
                        channel = plat::CrtRand() >= 16383 ? 20 : 19;
                    }
                    hero.StartChannel(channel, -1.0f, -1.0f);
                    idleTime = 9.0f + 2.0f * Unit();
                }
            }
            if (!moving) {
                tilt = 0.0f;
                if (listener) listener->OnRacketHits(hits);
            }
            break;
        case RACKET_BALL_LOST:
            if (ChannelActive(hero, 12)) {
                moving = false;
            } else {
                target = 0.0f;
                state = RACKET_RETURN;
            }
            break;
        case RACKET_RETURN:
            if (!moving) {
                state = RACKET_PLAY;
                // The serve runs a step of its own to place the hero and the new ball.
                NewRound();
                return;
            }
            break;
        case RACKET_STANDING: moving = false; break;
        default: {
            // Parked: the hero walks its circle round the table centre, and nothing else happens.
            YRacketWalk& walk = RacketWalk();
            const std::vector<float>& turns = HeroRootTurns(hero.skeleton);
            float u = 0.0f;
            if (!turns.empty() && hero.channels.size() > static_cast<std::size_t>(HERO_CHANNEL_PARKED_WALK)) {
                const YAnimChannelState& ch = hero.channels[HERO_CHANNEL_PARKED_WALK];
                const int last = static_cast<int>(turns.size()) - 1;
                const int i = std::clamp(ch.position, 0, last);
                const float f = ch.duration > 0.0f ? ch.time / ch.duration : 0.0f;
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
            return;
        }
    }

    // Walking.
    const float far = walkRange > 0.0f ? std::min(1.0f, std::fabs(posX - target) / walkRange) : 1.0f;
    float w = far;
    if (moving) {
        const float a = dt * acceleration * (posX < target ? 1.0f : -1.0f);
        if ((a > 0.0f && velocity < 0.0f) || (a < 0.0f && velocity > 0.0f)) velocity = 0.0f;
        const float v = velocity + a;
        const float dir = v < 0.0f ? -1.0f : 1.0f;
        w = std::min(far, std::fabs(v / maxSpeed));
        velocity += (dir * maxSpeed * w - velocity) * ease;
        tilt = dir * w * LEAN;
        const float next = posX + velocity * speedFactor * dt;
        if ((posX < target && target < next) || (next < target && target < posX)) {
            if (ease < 1.0f) {
                // Slipping: the hero stops short of its target and may stumble.
                if (std::fabs(velocity) > 1.0f) hero.StartChannel(22 + plat::CrtRand() % 3, -1.0f, -1.0f);
            } else {
                posX = target;
            }
            velocity = 0.0f;
        } else {
            posX = next;
            if (ease < 1.0f) {
                YRacketWalk& walk = RacketWalk();
                walk.stumbleCountdown -= dt;
                if (walk.stumbleCountdown <= 0.0f) {
                    hero.StartChannel(22 + plat::CrtRand() % 3, -1.0f, -1.0f);
                    walk.stumbleCountdown = 1.0f + 2.0f * Unit();
                }
            }
        }
        hero.StartChannel(0, -1.0f, std::max(0.0f, 1.0f - 8.0f * w));
        hero.StartChannel(1, -1.0f, w < 0.25f ? 4.0f * w : std::max(0.0f, 1.0f - 4.0f * (w - 0.25f)));
        hero.StartChannel(4, -1.0f, w < 0.5f ? std::max(0.0f, 2.6666667f * (w - 0.125f)) : 1.0f - 2.0f * (w - 0.5f));
        const float run = 2.0f * std::max(0.0f, 2.0f * w - 1.0f);
        if (dir > 0.0f) {
            hero.StartChannel(3, -1.0f, run);
            hero.StopChannel(2, -1.0f);
        } else {
            hero.StartChannel(2, -1.0f, run);
            hero.StopChannel(3, -1.0f);
        }
    } else {
        velocity = 0.0f;
        hero.StartChannel(0, -1.0f, 1.0f);
        hero.StopChannel(1, -1.0f);
        hero.StopChannel(4, -1.0f);
        hero.StopChannel(2, -1.0f);
        hero.StopChannel(3, -1.0f);
    }

    // The hero's place; a frozen hero stands still.
    const YMatrix placed = Placement();
    if (frostTime <= 0.0f) {
        const int keyBefore = ChannelKey(hero, HERO_CHANNEL_SLOW_WALK);
        hero.UpdateChannels(dt);
        hero.SetTransform(placed.m);
        hero.UpdatePose();
        const int key = ChannelKey(hero, HERO_CHANNEL_SLOW_WALK);
        if (key != keyBefore && (key == 0 || key == 3)) {
            static YSoundFx* step = GetSoundFx("hero_step");
            const YVector at(posX, posY, 0.0f);
            PlayWorldSound(step, &at, std::min(1.0f, 2.0f * w), nullptr);
        }
    }

    // The objects: the held one in the hand, the falling bonuses, every held-capable object.
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

    UpdateRacketVisuals(*this, dt);
}
