// The rules of a run: serves, lives, score, the loss of a ball, game over, the standing pose after
// it, the parked hero behind the menus and the progress kept in the game mode.
#include "core/init.h"
#include "render/scene/particles.h"
#include "sound/sound_fx.h"
#include "world/balls/ball.h"
#include "world/blocks/block.h"
#include "world/physics/physics_world.h"
#include "world/racket/pipe.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/world_sound.h"

namespace {

constexpr int START_LIVES = 5;
constexpr float RATE_PARKED = 30.0f;

void PlayAt(const char* name, const YVector& p) { PlayWorldSound(GetSoundFx(name), &p, 1.0f, nullptr); }

void ClearCaptions() { g_ClearHudCaptions(); }

} // namespace

void YRacket::NewGame() {
    ResetScore();
    NewRound();
}

void YRacket::ContinueGame() {
    const YGameMode& mode = GetInit().CurrentGameMode();
    score = mode.scores;
    lives = mode.lives;
    NewRound();
}

void YRacket::ResetScore() {
    YGameMode& mode = GetInit().CurrentGameMode();
    score = 0;
    mode.scores = 0;
    lives = START_LIVES;
    mode.lives = START_LIVES;
    hitsSinceBreak = 0;
    hits = 0;
    GetInit().Save();
}

void YRacket::StoreProgress() {
    YGameMode& mode = GetInit().CurrentGameMode();
    mode.scores = score;
    mode.lives = lives;
    mode.level = levelIndex;
    GetInit().Save();
}

void YRacket::NewRound() {
    Reset();
    StoreProgress();
    YBall* ball = new YBall(0);
    held = ball;
    hero.StartChannel(5, -1.0f, -1.0f);
    state = RACKET_PLAY;
    g_PhysicsWorld.ResetBallSpeed();
    RacketUpdate(0.001f);
    if (lives <= 0) OnGameOver();
    width = GetInit().CurrentGameMode().wideRacket ? 3.0f : 2.0f;
    hitsSinceBreak = 0;
}

void YRacket::Reset() {
    tilt = 0.0f;
    target = 0.0f;
    posX = 0.0f;
    velocity = 0.0f;
    if (held) {
        YRacketTacked* obj = held;
        held = nullptr;
        delete obj;
    }
    if (listener) listener->OnServe();
    ClearCaptions();
    hero.StopChannel(17, -1.0f);
    hero.StopChannel(18, -1.0f);
    hero.StopChannel(5, 0.01f);
    hero.StopChannel(19, 0.05f);
    hero.StopChannel(20, 0.05f);
    hero.StopChannel(21, -1.0f);
    hero.StopChannel(12, -1.0f);
    ClearEffects();
}

void YRacket::OnBonusDeath() {
    if (state != RACKET_PLAY) return;
    PlayAt("bonus_death", YVector(posX, posY, 0.0f));
    lives -= 1;
    if (held) {
        YRacketTacked* obj = held;
        held = nullptr;
        delete obj;
    }
    SetBallModeAll(0, -1.0f);
    state = RACKET_BALL_LOST;
    hero.StopChannel(5, 0.01f);
    hero.StopChannel(19, 0.05f);
    hero.StopChannel(20, 0.05f);
    hero.StopChannel(21, -1.0f);
    hero.StartChannel(12, -1.0f, -1.0f);
    if (lives <= 0) OnGameOver();
}

void YRacket::OnGameOver() {
    if (listener) {
        listener->OnGameOver();
    } else {
        lives = START_LIVES;
        target = 0.0f;
        state = RACKET_RETURN;
    }
    PlayAt("game_over", YVector(0.0f, 0.0f, 0.0f));
}

void YRacket::LevelComplete() {
    if (listener) listener->OnLevelComplete();
}

void YRacket::PrepareLevel() {
    Reset();
    state = RACKET_STANDING;
    hero.StartChannel(17, -1.0f, -1.0f);
    tilt = 0.0f;
    BlockEffectsEnabled = false;
    DeleteAllTacked();
    for (int i = 0; i < 200; ++i) g_PhysicsWorld.PhysicsStep(0.05f);
    g_ParticleSystem.Clear();
    ClearCaptions();
    BlockEffectsEnabled = true;
    held = new YPipe();
}

void YRacket::Park() {
    Reset();
    state = RACKET_PARKED;
    YMatrix identity;
    identity.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    hero.SetTransform(identity.m);
    posX = posY = 0.0f;
    hero.StartChannel(18, -1.0f, -1.0f);
    hero.rate = RATE_PARKED;
}
