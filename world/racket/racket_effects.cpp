// The racket's timed effects: starters, the shield, ball modes, and the reset of them all.
#include <algorithm>

#include "core/init.h"
#include "render/shader.h"
#include "world/balls/ball.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/racket/racket.h"
#include "world/racket/racket_visuals.h"
#include "world/table/table.h"

namespace {

constexpr float RATE_NORMAL = 100.0f;
constexpr float RATE_SLUMBER = 50.0f;
constexpr float RATE_VIVACITY = 150.0f;

void SetBackWall(bool on) {
    if (g_Table && g_Table->frontPlane) SetBackWallEnabled(g_Table->frontPlane, on);
}

} // namespace

float YRacket::ActionSpeed() const { return hero.rate / RATE_NORMAL; }

void YRacket::ClearEffects() {
    SetBallModeAll(0, -1.0f);
    for (YBall* ball : BallList())
        if (ball->modeTime > 0.0f) ball->modeTime = 0.0f;
    glovesTime = -1.0f;
    slipTime = frostTime = shieldTime = slumberTime = vivacityTime = 0.0f;
    speedFactor = 1.0f;
    SetBackWall(false);
    frostCover.visible = 0;
    g_PhysicsWorld.SetContactFriction(-1.0f);
    hero.rate = RATE_NORMAL;
}

void YRacket::SetBallModeAll(int mode, float time) {
    ballModeTime = time;
    ballMode = mode;
    if (time < 0.0f || !GetInit().CurrentGameMode().timerBall) return;
    for (YBall* ball : BallList())
        if (ball->ModeIndex() != 8) ball->SetMode(mode, time);
}

void YRacket::ApplyBallMode(YBall* ball) {
    if (GetInit().CurrentGameMode().timerBall) {
        if (ballModeTime <= 0.0f && ball->ModeIndex() != 8) return;
        ball->SetMode(ballMode, ballModeTime);
    } else {
        ball->SetMode(ballMode, -1.0f);
    }
}

void YRacket::StartGloves(float seconds) { glovesTime = seconds; }

void YRacket::StartSlumber(float seconds) {
    hero.rate = RATE_SLUMBER;
    vivacityTime = 0.0f;
    slumberTime = seconds;
    speedFactor = 0.5f;
}

void YRacket::StartVivacity(float seconds) {
    hero.rate = RATE_VIVACITY;
    slumberTime = 0.0f;
    vivacityTime = seconds;
    speedFactor = 3.0f;
}

void YRacket::StartShield(float seconds) {
    shieldTime = seconds;
    SetBackWall(true);
}

void YRacket::StartFrost(float seconds) {
    frostTime = seconds;
    frostCover.Rebuild();
    frostCover.world = hero.world;
    frostCover.visible = 1;
    SetFrostStrength(1.0f);
}

void YRacket::StartSlip(float seconds) {
    slipTime = seconds;
    g_PhysicsWorld.SetContactFriction(0.1f);
}

void YRacket::ShieldTick(float seconds) {
    if (shieldTime > 0.0f) {
        shieldTime -= seconds;
        if (shieldTime <= 0.0f) SetBackWall(false);
    }
}
