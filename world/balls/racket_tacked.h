#pragma once
// Objects the hero can hold in its hand: balls, bombs, grenades (and later the boomerang and the
// pipe). All of them are in one global list for exactly their lifetime; the racket walks it every
// frame (update, whether a ball is still in play) and it is emptied at once between levels.
// A held object belongs to this list, not to the racket: the racket only points at it, and the
// object's destructor clears that pointer.
#include <vector>

#include "math/matrix.h"
#include "world/physics/zdelete.h"

class YRigidBody;

class YRacketTacked : public YZDelete {
public:
    // Joins the tacked list; kind 0, bone 0, no release cooldown.
    YRacketTacked();
    // Leaves the tacked list and clears the racket's held pointer when it points here.
    ~YRacketTacked() override;

    // The hero lets go of the object: releaseCooldown := 0.5.
    virtual void Release(bool byPlayer);
    // Once per frame: releaseCooldown runs down while above 0.
    virtual void Update(float dt);
    // Places the object (the racket hands it the hold point's world matrix).
    virtual void SetMatrix(const YMatrix* m) = 0;
    // The object's world matrix; returns out.
    virtual YMatrix* GetMatrix(YMatrix* out) = 0;
    // Whether the object keeps a round alive (balls other than small ones).
    virtual bool IsBallInPlay() { return false; }
    // Whether `body` is the object's own physics body.
    virtual bool OwnsBody(const YRigidBody* body) { return false; }

    int kind = 0;      // 0 ball, 2 bomb, 3 grenade, 4 pipe
    int boneIndex = 0; // the hold point (hero bone) that carries the object
    float releaseCooldown = 0.0f;
};

// Kind codes of the held-capable objects.
constexpr int TACKED_BALL = 0;
constexpr int TACKED_BOMB = 2;
constexpr int TACKED_GRENADE = 3;
constexpr int TACKED_PIPE = 4;

// Every held-capable object alive, in construction order except that a destroyed object's place
// goes to the last one. Objects may be made while the list is walked: walk by index and read the
// size again after each call.
const std::vector<YRacketTacked*>& TackedList();

// Deletes every object of the tacked list, always the last one first, then every falling bonus.
void DeleteAllTacked();
