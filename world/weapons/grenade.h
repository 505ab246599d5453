#pragma once
// The grenade: a supply of light grenades with a 3-second fuse, handed to the racket by the
// grenade bonus (5 of them). Each throw flies at the racket's launch elevation (10 degrees in
// lowBall game modes) and puts the next grenade of the supply into the hero's hand.
#include "render/mesh/mesh_instance.h"
#include "world/balls/racket_tacked.h"
#include "world/physics/bump_event.h"
#include "world/physics/rigid_body.h"
#include "world/weapons/fuse.h"

class YGrenade : public YMeshInstanceRef, public YRacketTacked, public YBumpEvent {
public:
    static constexpr float FUSE = 3.0f;
    static constexpr float THROW_TIME = 0.2f;

    // `count` throws left, this one included.
    explicit YGrenade(int count);
    ~YGrenade() override;

    // Only while held and not yet thrown: one throw less (keepSupply) or none left; the throw
    // starts with a 3-second fuse.
    void Release(bool keepSupply) override;
    void Update(float dt) override;
    void SetMatrix(const YMatrix* m) override;
    YMatrix* GetMatrix(YMatrix* out) override;
    bool OwnsBody(const YRigidBody* b) override { return b == &body; }

    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;

    // fuse := min(fuse, 0.05).
    void ShortenFuse();
    // The blast (2.75, 500, 25 sparks), "grenade", deletion at the next tick.
    void Explode();

    YRigidBall body;
    float throwTimer = 0.0f; // 0 held, > 0 being thrown, -1 flying
    float fuse = 0.0f;
    YFuseSparks sparks;
    int grenadesLeft;
};
