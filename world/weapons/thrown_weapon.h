#pragma once
// What bombs and grenades have in common. Both are a ball-shaped body that stays switched off
// while the hero holds the weapon, a throw timer (0 held, > 0 being thrown, -1 flying), a fuse
// that a touch of a block or the far wall cuts short, sparks at the fuse's tip and a blast when
// the fuse has burnt down. A touch of the back wall wears the racket's shield. Each weapon keeps
// its own numbers, its release, its throw and what it does in the air.
#include "render/mesh/mesh_instance.h"
#include "world/balls/racket_tacked.h"
#include "world/physics/bump_event.h"
#include "world/physics/rigid_body.h"
#include "world/weapons/fuse.h"

class YShaderBase;
class YSoundFx;

// The numbers a weapon is built with.
struct YThrownWeaponBuild {
    YMeshInstanceBase* instance; // shared by every weapon of the class
    YShaderBase* shell;          // the body's shader; the fuse is drawn with "bomb_fuse"
    int kind;                    // TACKED_BOMB or TACKED_GRENADE
    int boneIndex;               // the hold point on the hero
    float radius;
    float speed; // launch speed before the ball speed factor
    float mass;
    float inertia; // the same about every axis
};

class YThrownWeapon : public YMeshInstanceRef, public YRacketTacked, public YBumpEvent {
public:
    ~YThrownWeapon() override;

    // Body and drawable take m.
    void SetMatrix(const YMatrix* m) override;
    YMatrix* GetMatrix(YMatrix* out) override;
    bool OwnsBody(const YRigidBody* b) override { return b == &body; }

    // Static geometry only: the far wall cuts the fuse; the back wall wears the racket's shield.
    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;
    // A block touched: the fuse is cut; the block takes nothing from the touch itself.
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;

    // Cuts the fuse to the weapon's own limit (a shorter fuse stays).
    virtual void ShortenFuse() = 0;

    YRigidBall body;
    float throwTimer = 0.0f; // 0 held, > 0 being thrown, -1 flying
    float fuse = 0.0f;
    YFuseSparks sparks;

protected:
    // Held-ready: the body with the build's values, switched off with its sphere (a held weapon
    // collides with nothing), identity placement; shaders: the shell, then the fuse.
    explicit YThrownWeapon(const YThrownWeaponBuild& build);

    // Runs the throw timer down by dt at the racket's action speed; true while the throw goes on.
    bool ThrowGoesOn(float dt);
    // Flying from where the weapon is along dir (unit length), with a random spin about y.
    void Launch(const YVector& dir);
    // In flight: the drawable follows the body; out of the arena the weapon goes after the usual
    // delay. False when the body's position is not a finite point (nothing more to do this frame).
    bool FollowBody();
    // A burning fuse runs down by dt; true in the step it burns out.
    bool BurnFuse(float dt);
    // The blast at the weapon's position and its sound; deletion at the next tick.
    void Blast(float radius, float strength, int sparkCount, YSoundFx* sound);
};

// Whether every coordinate is a finite number.
bool IsFinitePoint(const YVector& p);
