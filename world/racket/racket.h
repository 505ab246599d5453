#pragma once
// The player's racket: the hero, an animated figure that walks along the near edge of the table,
// holds, serves, catches and kicks what the game hands it, and carries the rules of a run (lives,
// score, serves, the loss of a ball, game over, timed effects).
//
// There is at most one racket; while it lives it is g_Racket, and it serves the physics layer as
// g_RacketLink. Main thread only.
//
// Where the pieces live:
//   racket.cpp            construction, held objects, catching, kicking, launching, the zone test
//   racket_steering.cpp   MoveTo, MoveStep, AdjustAimAngle, the hit animations, taking and throwing
//   racket_update.cpp     RacketUpdate: timers, the five play states, walking, objects
//   racket_visuals.cpp    speed lines, sleep sparks, shield cells
//   racket_draw.cpp       the footprint and the target arrow
//   racket_rules.cpp      serves, lives, score, game over, standing and parked poses, progress
//   racket_effects.cpp    the timed effects: starters, ClearEffects, ball modes, ShieldTick
//   hero_model.cpp        the hero's skinned mesh, its channels and the parked walk's turns
#include "math/matrix.h"
#include "math/vector.h"
#include "render/mesh/mesh_instance.h"
#include "render/mesh/skel_instance.h"
#include "world/physics/racket_link.h"
#include "world/racket/game_event.h"

class YBall;
class YRacketTacked;
class YShader;

// Play states.
constexpr int RACKET_PLAY = 0;
constexpr int RACKET_BALL_LOST = 1;
constexpr int RACKET_RETURN = 2;
constexpr int RACKET_STANDING = 3;
constexpr int RACKET_PARKED = 4;

class YRacket : public YRacketLink {
public:
    // Builds the hero on the shared hero model, installs itself as g_Racket and g_RacketLink and
    // starts the standing channel. The state is parked (4) until the first state change.
    explicit YRacket(YGameEvent* listener = nullptr);
    virtual ~YRacket();
    YRacket(const YRacket&) = delete;
    YRacket& operator=(const YRacket&) = delete;

    // Draws the footprint and the target arrow; only in play (state 0).
    virtual void Draw();

    // Steering (state 0 only; other states return t and do nothing). t is the wanted place,
    // -1..1 of the half track; returns the normalised target actually taken.
    float MoveTo(float t);
    // Keeps the target walkRange ahead of the hero in that direction (-1 or +1).
    float MoveStep(float direction);
    // aimAngle := clamp(aimAngle + step, 0, 55).
    void AdjustAimAngle(float step);
    // Half the room the hero's centre has on the table: (table width - width) / 2.
    float HalfTrack() const;

    // Lets go of what is held (only in state 0; a frozen hero keeps it when the player asks).
    void ReleaseTacked(bool byPlayer);
    // Places obj at its hold point: the hero's attachment obj->boneIndex in the hero's world
    // (nothing for null).
    void AttachHeld(YRacketTacked* obj);
    // With gloves on, no frost and nothing held: the ball becomes the held object, its body is
    // disabled, and the answer is true.
    bool CatchBall(YBall* ball, const YVector* contactNormal);
    // Kicks the ball off the racket along the horizontal part of the normal, turned up about the
    // x axis by the launch elevation (not while frozen; in lowBall modes only a serve, by 30
    // degrees), so the lift follows the kick's part along y; a kick back towards the player rises
    // too. The speed is kickSpeed, the ball starts at `point`; counts the hit (the 11th without a
    // break drops a Next bonus).
    void KickBall(YBall* ball, const YVector* normal, const YVector* point);
    // Serves the held ball: kicked along the hero's facing from one racket width in front of it.
    void LaunchBall(YBall* ball);
    // The hit gesture on the side the normal comes from.
    void PlayHitAnimation(const YVector* contactNormal);
    // Whether p lies in the racket's zone: 1 unit deep and half the width wide around the hero,
    // grown by radius.
    bool Touches(const YVector* p, float radius) const;
    // Taking objects into the hand after letting go of what was held.
    void TakeBoomer(YRacketTacked* obj);
    void TakeBomb(YRacketTacked* obj);
    void TakeGrenade(YRacketTacked* obj);
    // Gestures of the throws.
    void OnBoomerThrown();
    void OnBombThrown();
    void OnGrenadeThrown();
    // How fast the hero's actions run (1 at the normal animation rate; the throw timers scale by it).
    float ActionSpeed() const;
    // The world matrix of hold point `bone`: the hero's attachment of that number in the hero's
    // place (a point at hand height in front of it when the model has no such point).
    YMatrix HoldPoint(int bone) const;
    // The hero's world matrix in play: turned half round plus its lean, at (posX, posY, 0).
    YMatrix Placement() const;

    // The per-frame step: timed effects, the play states, walking, the hero's pose, held and
    // falling objects, effect visuals.
    void RacketUpdate(float dt);

    // Rules of a run.
    void NewGame();
    void ContinueGame();
    void ResetScore();
    void StoreProgress();
    void NewRound();
    void OnBonusDeath();
    void OnGameOver();
    void LevelComplete();
    void PrepareLevel();
    void Park();
    void Reset();

    // Timed effects.
    void ClearEffects();
    void SetBallModeAll(int mode, float time);
    // Gives the ball the racket's ball mode: with the game mode's timerBall flag, SetMode(ballMode,
    // ballModeTime) unless that time is over and the ball is not small; without it, for good.
    void ApplyBallMode(YBall* ball);
    void StartSlumber(float seconds);
    void StartVivacity(float seconds);
    void StartShield(float seconds);
    void StartFrost(float seconds);
    void StartSlip(float seconds);

    // YRacketLink
    bool HeldOwnsBody(const YRigidBody* body) override;
    bool HeldIsListener(const YBumpEvent* listener) override;
    // Takes seconds off the shield; the back wall goes off when it runs out.
    void ShieldTick(float seconds) override;
    float Width() override { return width; }
    void SetLine(float y) override { posY = y; }

    float velocity = 0.0f;
    float maxSpeed = 25.0f;
    float acceleration = 100.0f;
    float kickSpeed = 1.5f;
    YShader* arrowShader = nullptr;
    YSkelMeshInstance hero;
    YMeshInstanceCover frostCover;
    int levelIndex = -1;
    YRacketTacked* held = nullptr;
    float tilt = 0.0f;      // the hero's lean about z, degrees: the aim of serves and bombs
    float aimAngle = 15.0f; // launch elevation, degrees, 0..55
    float target = 0.0f;    // x the hero walks to
    float walkRange = 3.0f; // distance that counts as far for the walk blend
    int lives = 3;
    int score = 0;
    int state = RACKET_PARKED;
    float posX = 0.0f;
    float posY = 0.0f;
    float width = 3.0f;
    float glovesTime = -1.0f;
    float ballModeTime = -1.0f;
    float slumberTime = 0.0f;
    float vivacityTime = 0.0f;
    float frostTime = 0.0f;
    float slipTime = 0.0f;
    float shieldTime = 0.0f;
    float idleTime = 10.0f;
    float speedFactor = 1.0f;
    int ballMode = 0;
    int hits = 0;
    int hitsSinceBreak = 0;
    YGameEvent* listener = nullptr;
};

// The racket, or null (the level editor, unit tests without one).
extern YRacket* g_Racket;

// The HUD's captions are cleared at every serve and standing pose; connected by the world set-up.
extern void (*g_ClearHudCaptions)();
