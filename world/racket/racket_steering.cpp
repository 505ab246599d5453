// Steering the hero, its hit gestures, and taking and throwing objects.
#include <algorithm>
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "world/balls/racket_tacked.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// Below this the table leaves the hero no room to walk: every target is the centre.
constexpr float MIN_HALF_TRACK = 1e-4f;

} // namespace

float YRacket::HalfTrack() const { return (g_TableSize.width - width) * 0.5f; }

float YRacket::MoveTo(float t) {
    if (state != RACKET_PLAY) return t;
    hero.StopChannel(HeroChannel::IdleLookRound, 0.05f);
    hero.StopChannel(HeroChannel::IdleStretchBack, 0.05f);
    hero.StopChannel(HeroChannel::IdleScratchHead, -1.0f);
    idleTime = 6.0f + 2.0f * Unit();

    if (!(t >= -1.0f)) t = -1.0f; // also a NaN: the near end rather than a NaN target
    if (t > 1.0f) t = 1.0f;
    const float half = HalfTrack();
    if (!(half > MIN_HALF_TRACK)) {
        // A table no wider than the racket: the hero stays at the centre.
        target = 0.0f;
        return 0.0f;
    }
    const float x = t * half;
    const float margin = g_TableSize.width * 0.05f;
    const bool backOut = (target > posX && x < target - margin && x > posX);
    const bool backIn = (target < posX && x > target + margin && x < posX);
    if (backOut || backIn) {
        target = posX;
        return posX / half;
    }
    target = x;
    return t;
}

float YRacket::MoveStep(float direction) {
    const float half = HalfTrack();
    if (!(half > MIN_HALF_TRACK)) return MoveTo(0.0f);
    return MoveTo((direction * walkRange + posX) / half);
}

void YRacket::AdjustAimAngle(float step) { aimAngle = std::clamp(aimAngle + step, 0.0f, 55.0f); }

void YRacket::PlayHitAnimation(const YVector* contactNormal) {
    float nx = contactNormal->x;
    if (tilt != 0.0f) {
        // Into the hero's frame: turned about z by -tilt.
        const float a = DegreesToRadians(-tilt);
        nx = contactNormal->x * std::cos(a) - contactNormal->y * std::sin(a);
    }
    const float c = std::clamp(2.0f * nx, -1.0f, 1.0f);
    const float a = 7.0f * std::fabs(c);
    if (c < 0.0f) {
        hero.StartChannel(HeroChannel::HitLeftStrong, -1.0f, 7.0f - a);
        hero.StartChannel(HeroChannel::HitLeftWeak, -1.0f, a);
        hero.StopChannel(HeroChannel::HitRightStrong, -1.0f);
        hero.StopChannel(HeroChannel::HitRightWeak, -1.0f);
    } else {
        hero.StartChannel(HeroChannel::HitRightStrong, -1.0f, 7.0f - a);
        hero.StartChannel(HeroChannel::HitRightWeak, -1.0f, a);
        hero.StopChannel(HeroChannel::HitLeftStrong, -1.0f);
        hero.StopChannel(HeroChannel::HitLeftWeak, -1.0f);
    }
}

void YRacket::TakeBoomer(YRacketTacked* obj) {
    if (state != RACKET_PLAY) return;
    ReleaseTacked(false);
    if (held) return;
    held = obj;
    AttachHeld(obj);
    hero.StartChannel(HeroChannel::BoomerCaught, -1.0f, -1.0f);
}

void YRacket::TakeBomb(YRacketTacked* obj) {
    ReleaseTacked(false);
    if (held) return;
    held = obj;
    AttachHeld(obj);
    hero.StartChannel(HeroChannel::Holding, -1.0f, -1.0f);
}

void YRacket::TakeGrenade(YRacketTacked* obj) {
    ReleaseTacked(false);
    if (held) return;
    held = obj;
    AttachHeld(obj);
}

void YRacket::OnBoomerThrown() { hero.StartChannel(HeroChannel::BoomerThrown, -1.0f, -1.0f); }

void YRacket::OnBombThrown() {
    hero.StartChannel(HeroChannel::BombThrown, -1.0f, -1.0f);
    hero.StopChannel(HeroChannel::Holding, 0.01f);
}

void YRacket::OnGrenadeThrown() { hero.StartChannel(HeroChannel::GrenadeThrown, -1.0f, -1.0f); }
