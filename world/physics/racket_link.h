#pragma once
// What the physics layer and the table ask of the racket, which is built above them in the game
// world. The racket installs itself here when it is constructed and removes itself when it goes;
// while none is installed (the level editor, unit tests) there is no racket: the table does not
// set the physics arena, and walls never spare a held object nor wear the shield.
class YRigidBody;
class YBumpEvent;

class YRacketLink {
public:
    // The object held on the racket owns this body (a held ball touching a wall makes no flash).
    virtual bool HeldOwnsBody(const YRigidBody* body) = 0;
    // The object held on the racket is this listener (the boomerang held on the racket).
    virtual bool HeldIsListener(const YBumpEvent* listener) = 0;
    // Takes seconds off the back-wall shield; switches the back wall off when it runs out.
    virtual void ShieldTick(float seconds) = 0;
    // The racket's width: the table keeps blocks this far + 1 from the near edge.
    virtual float Width() = 0;
    // The y of the racket's path, set by every table build.
    virtual void SetLine(float y) = 0;

protected:
    ~YRacketLink() = default;
};

// The racket, or null.
extern YRacketLink* g_RacketLink;
