#pragma once
// A ball in play: a physics sphere plus a ball mode (world/balls/ball_mode.h) that decides how it
// looks, sounds and weighs and what it does to blocks. The ball sits on the racket (held: the
// racket places it, no speed keeping) or flies; it dies when it leaves the play area or when all
// held-capable objects are deleted. Balls are made by the racket for each round, by ball bonuses,
// by the generator block and by the generative mode.
#include <vector>

#include "world/balls/ball_mode.h"
#include "world/balls/racket_contact.h"
#include "world/balls/racket_tacked.h"
#include "world/physics/rigid_body.h"

class YBall : public YRacketTacked {
public:
    // A ball of mode `modeIndex` (0..8) with no mode time-out.
    explicit YBall(int modeIndex);
    // A ball that takes over `mode` (prepared by a ball bonus) with that mode time (-1: none).
    YBall(YBallMode* mode, float modeTime);
    // Leaves the ball list; with block effects on, a blast and "destroy_ball" at its position.
    ~YBall() override;

    // The wanted mode and its time (-1: for good); the mode changes in the next Update.
    void SetMode(int index, float time);
    // Called by the modes' ApplyBody: the body takes the mode's radius, kind, speed and listener,
    // and this mass with a sphere-like inertia.
    void SetupBody(float mass, int collisionKind, float speed);
    // The body's velocity := launch x speed x the ball speed factor at `position`; the mode's kick
    // sound plays unless it did in the last 0.25 s.
    void Launch(const YVector* launch, const YVector* position);
    // The mode's drawable and the body take m.
    void SetTransform(const YMatrix* m);

    // YRacketTacked
    // The body is enabled and the racket serves the ball.
    void Release(bool byPlayer) override;
    // BallUpdate: cooldowns, mode time-out and change, the play-area test, the mode's effects,
    // speed keeping and the racket test.
    void Update(float dt) override;
    void SetMatrix(const YMatrix* m) override { SetTransform(m); }
    YMatrix* GetMatrix(YMatrix* out) override { return body.GetMatrix(out); }
    bool IsBallInPlay() override { return mode->CountsForRound(); }
    bool OwnsBody(const YRigidBody* b) override { return b == &body; }

    int ModeIndex() const { return mode->index; }
    float Radius() const { return mode->radius; }

    float kickCooldown = 0.0f;
    YBallMode* mode; // owned; never null
    YRigidBall body;
    int wantedMode;
    float modeTime;

private:
    void Attach();
};

// Every ball alive, in creation order except that a destroyed ball's place goes to the last one.
const std::vector<YBall*>& BallList();
