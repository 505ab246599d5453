#pragma once
// The racket as far as the objects it holds and hits need it: its place and width on the table,
// the object it holds, its angles, its timed effects, and the operations that balls, bombs and
// grenades call (catch, kick, launch, take, hold-point placement, the shield's wear). The hero
// model, steering, the play states and the game rules build on this class.
//
// There is at most one racket; while it lives it is g_Racket, and it serves the physics layer as
// g_RacketLink. Main thread only.
#include "math/matrix.h"
#include "math/vector.h"
#include "world/physics/racket_link.h"

class YBall;
class YRacketTacked;

class YRacket : public YRacketLink {
public:
    // Installs itself as g_Racket and g_RacketLink.
    YRacket();
    virtual ~YRacket();
    YRacket(const YRacket&) = delete;
    YRacket& operator=(const YRacket&) = delete;

    // Gives the ball the racket's ball mode: with the game mode's timerBall flag, SetMode(ballMode,
    // ballModeTime) unless that time is over and the ball is not small; without it, for good.
    void ApplyBallMode(YBall* ball);
    // With gloves on, no frost and nothing held: the ball becomes the held object, its body is
    // disabled, and the answer is true.
    bool CatchBall(YBall* ball, const YVector* contactNormal);
    // Kicks the ball off the racket along the horizontal part of the normal, tilted up by the
    // launch elevation (not while frozen; in lowBall modes only a serve, by 30 degrees), with
    // kickSpeed, at `point`; counts the hit.
    void KickBall(YBall* ball, const YVector* normal, const YVector* point);
    // Serves the held ball: kicked along the hero's facing from one racket width in front of it.
    void LaunchBall(YBall* ball);
    // Places obj at its hold point (nothing for null).
    void AttachHeld(YRacketTacked* obj);
    // Whether p lies in the racket's zone: 1 unit deep and half the width wide around the hero,
    // grown by radius.
    bool Touches(const YVector* p, float radius) const;
    // Lets go of what is held (only in state 0; a frozen hero keeps it when the player asks).
    void ReleaseTacked(bool byPlayer);
    // Takes a bomb or a grenade into the hand after letting go of what was held.
    void TakeBomb(YRacketTacked* obj);
    void TakeGrenade(YRacketTacked* obj);
    // Gestures of the throws; the hero model plays them.
    virtual void OnBombThrown() {}
    virtual void OnGrenadeThrown() {}
    // How fast the hero's actions run (1 normally; the throw timers scale by it).
    float ActionSpeed() const { return actionSpeed; }
    // The world matrix of hold point `bone`: a point at the hero's hand height in front of it.
    YMatrix HoldPoint(int bone) const;

    // YRacketLink
    bool HeldOwnsBody(const YRigidBody* body) override;
    bool HeldIsListener(const YBumpEvent* listener) override;
    void ShieldTick(float seconds) override;
    float Width() override { return width; }
    void SetLine(float y) override { posY = y; }

    YRacketTacked* held = nullptr;
    float posX = 0.0f;
    float posY = 0.0f;
    float width = 3.0f;
    float tilt = 0.0f;      // the hero's turn about z, degrees: the aim of serves and bombs
    float aimAngle = 15.0f; // launch elevation, degrees, 0..55
    float kickSpeed = 1.5f;
    int state = 0; // 0: play
    float glovesTime = -1.0f;
    float frostTime = 0.0f;
    float shieldTime = 0.0f;
    float ballModeTime = -1.0f;
    int ballMode = 0;
    int hits = 0;
    int hitsSinceBreak = 0;
    int score = 0;
    float actionSpeed = 1.0f;
};

// The racket, or null (the level editor, unit tests without one).
extern YRacket* g_Racket;
