#pragma once
// What the balls and the other held-capable objects ask of the racket, which is built above them
// in the game world. The racket registers itself here while it lives; null means there is no
// racket right now (the level editor, a test without one): a ball then just flies.
class YBall;
class YRacketTacked;
struct YVector;

class YRacketHand {
public:
    // The racket holds this object.
    virtual bool Holds(const YRacketTacked* object) const = 0;
    // The object is being destroyed: the racket no longer holds it.
    virtual void Forget(const YRacketTacked* object) = 0;
    // Serves the ball the hero let go of.
    virtual void LaunchBall(YBall* ball) = 0;
    // Once per frame for the held ball: the racket's timed effects set its mode.
    virtual void HoldBall(YBall* ball) = 0;
    // Once per frame for a flying ball at p: when it touches the racket, the racket's timed
    // effects set its mode and the hero catches or kicks it.
    virtual void MeetBall(YBall* ball, const YVector& p) = 0;

protected:
    ~YRacketHand() = default;
};

// The racket, or null.
extern YRacketHand* g_RacketHand;
