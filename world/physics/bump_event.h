#pragma once
// The contact listener of physics bodies. Every body may carry one listener (YRigidBody::listener);
// the physics step, the explosion and the boomerang's collision box call it, and two touching game
// objects settle through it what the touch does.
//
// Calling protocol:
//   - After each world step, every recorded contact pair calls OnContact of body 1's listener with
//     (its geom's data, body 2's listener, force 1, torque 1, position, normal, depth), then of body
//     2's listener with (..., body 1's listener, force 2, torque 2, position, -normal, depth).
//     `other` is null for static geometry or a body without a listener.
//   - A blast calls OnContact with other == this listener, torque (0, 0, 0) and depth 0; that is how
//     a receiver tells a blast from a touch.
//   - A ball touching a wall or the back wall gets OnContact(null, null, zero force, zero torque,
//     position, normal pointing away from the wall, depth) from inside the collision pass: such a
//     handler must not create or destroy geoms.
//   - A block hands a hit to the other party through BumpSingle / BumpSetItem; the answer says the
//     block was destroyed or doomed by it.
// No handler deletes a body while contacts are handed out: what a contact dooms is scheduled for
// deferred deletion (world/physics/zdelete.h).
#include "math/matrix.h"
#include "math/vector.h"

class YBlockSingle;
class YBlockSet;
class YBlockItem;
class YBall;

class YBumpEvent {
public:
    virtual void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                           const YVector* position, const YVector* normal, float depth) {}
    virtual bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                            const YVector* normal) {
        return false;
    }
    virtual bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                             const YVector* position, const YVector* normal) {
        return false;
    }
    // Lets a block special or the racket make the object play its own kick sound.
    virtual void KickSound(const YVector* position, float volume) {}
    // Moves the object to a new placement (teleports).
    virtual void SetMatrix(const YMatrix* matrix) {}
    // The object's placement; the default writes the identity.
    virtual YMatrix* GetMatrix(YMatrix* result);
    // The ball behind this listener, or null (only ball modes answer).
    virtual YBall* GetBall() { return nullptr; }

protected:
    ~YBumpEvent() = default;
};
