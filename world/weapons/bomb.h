#pragma once
// The bomb: one heavy ball with a 10-second fuse and a large blast, handed to the racket by the
// bomb bonus. Held on the racket until the player throws it; flies flat along the hero's facing;
// explodes when its fuse burns down, soon after it touches a block or the far wall; a bomb that
// comes back to the racket is caught again (thrown off while the racket is frozen).
#include "render/mesh/mesh_instance.h"
#include "world/balls/racket_tacked.h"
#include "world/physics/bump_event.h"
#include "world/physics/rigid_body.h"
#include "world/weapons/fuse.h"

class YBomb : public YMeshInstanceRef, public YRacketTacked, public YBumpEvent {
public:
    static constexpr float FUSE = 10.0f;
    static constexpr float THROW_TIME = 0.15f;

    // Held-ready: body and geom disabled, identity placement.
    YBomb();
    // Unless it exploded, with block effects on: a small blast and "destroy_ball".
    ~YBomb() override;

    // The throw starts: 0.15 s of the hero's gesture, then the flight; a fresh 10-second fuse.
    void Release(bool byPlayer) override;
    void Update(float dt) override;
    // Body and drawable take m.
    void SetMatrix(const YMatrix* m) override;
    YMatrix* GetMatrix(YMatrix* out) override;
    bool OwnsBody(const YRigidBody* b) override { return b == &body; }

    // The far wall cuts the fuse; the back wall wears the racket's shield.
    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;
    // A block touched: the fuse is cut; the block takes nothing from the touch.
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;

    // fuse := min(fuse, 0.1).
    void ShortenFuse();
    // The blast (5, 1500, 50 sparks), "bomb", deletion at the next tick.
    void Explode();

    YRigidBall body;
    float throwTimer = 0.0f; // 0 held, > 0 being thrown, -1 flying
    float fuse = 0.0f;
    YFuseSparks sparks;
    bool exploded = false;

private:
    // Launch along the hero's facing from where the bomb is, with a random spin.
    void Throw();
};
