#pragma once
// Ball modes: what a ball is. A mode is the ball's drawable (a shared mesh instance with the
// mode's shaders) and the contact listener of the ball's body; it decides the ball's radius, mass
// and collision kind, its kick sound, what a hit does to a block, and the effects it shows while
// it flies. The ball owns exactly one mode and swaps it for another in its update when its wanted
// mode changes (never inside a contact hand-out).
//
// Hit rules: normal, heavy, generative and small balls damage a block by the length of the
// contact force; phantom, fire, explosive and electro balls ("super" modes) doom it outright; the
// universal ball uses an inner mode's rule and changes that inner mode at random on hits.
#include "render/mesh/mesh_instance.h"
#include "world/balls/ball_effects.h"
#include "world/balls/ball_mode_info.h"
#include "world/physics/bump_event.h"

class YBall;
class YBlock;
class YSoundFx;

class YBallMode : public YMeshInstanceRef, public YBumpEvent {
public:
    // Draw flags 1, the mode's shared mesh instance and shaders, its radius and kick sound.
    explicit YBallMode(int index_);
    ~YBallMode() override;

    // Crowned modes queue their crown, then the mesh is drawn.
    void Draw() override;
    // Particles, light spots, lightning: once per frame from the ball's update.
    virtual void Update(float dt) {}
    // Gives the owner's body this mode's radius, mass, collision kind and listener.
    virtual void ApplyBody();
    // Whether a ball of this mode keeps a round alive.
    virtual bool CountsForRound() { return BallModeInfo(index).countsForRound; }

    // YBumpEvent: the back wall wears the racket's shield; block hits damage by the force.
    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;
    void KickSound(const YVector* position, float volume) override;
    // Without an owner the drawable moves; with one, the ball is moved there and stopped.
    void SetMatrix(const YMatrix* matrix) override;
    YMatrix* GetMatrix(YMatrix* result) override;
    YBall* GetBall() override { return owner; }

    // Whether the owner is the object held on the racket.
    bool IsHeld() const;

    YBall* owner = nullptr;
    float radius;
    int index;
    YSoundFx* kickSound;
};

// Phantom, fire, explosive and electro: a hit dooms the block (or the set's item) outright.
class YBallModeSuper : public YBallMode {
public:
    using YBallMode::YBallMode;
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;
};

class YBallPhantom : public YBallModeSuper {
public:
    YBallPhantom() : YBallModeSuper(BALL_PHANTOM) {}
    // A trail of 20 particles per second, only while flying.
    void Update(float dt) override;
    float accumulator = 0.0f;
};

class YBallFire : public YBallModeSuper {
public:
    explicit YBallFire(int index_ = BALL_FIRE) : YBallModeSuper(index_) {}
    // Flames at 25 per second and a light spot, also while held.
    void Update(float dt) override;
    float accumulator = 0.0f;
};

class YBallExplosive : public YBallFire {
public:
    YBallExplosive() : YBallFire(BALL_EXPLOSIVE) {}
    // A hit that dooms a block explodes at the contact and turns the ball to fire.
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;
    // The blast (2.75, 500, 25 sparks) and "grenade"; the owner becomes fire for its remaining time.
    void Explode(const YVector* position);
};

// One of the electro ball's three lightning arms.
struct ElectroArc {
    enum State { IDLE = 0, STRIKING = 1, RESTING = 2 };
    int state = RESTING;
    float timer = 0.0f;
    YBlock* target = nullptr;
    LightningSegment segments[10];
};

class YBallElectro : public YBallModeSuper {
public:
    // The arcs start resting with timers spread over 0..1 s.
    YBallElectro();
    // Blocks still under a strike can be targeted again.
    ~YBallElectro() override;
    // While flying: each arc picks a block within 7 units, strikes it for 0.25 s (it is deleted
    // at the end) and rests 1 s; a light spot always.
    void Update(float dt) override;
    ElectroArc arcs[3];
};

class YBallGenerative : public YBallMode {
public:
    YBallGenerative() : YBallMode(BALL_GENERATIVE) {}
    // A hit that destroys the block makes a small ball opposite the contact.
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;
    // A new small ball at 2 x this ball's position - contact, and "small_ball".
    void SpawnSmallBall(const YVector* contact);
};

class YBallUniversal : public YBallMode {
public:
    // Its own look; an inner normal mode; the switch timer at 1 s.
    YBallUniversal();
    ~YBallUniversal() override;
    void ApplyBody() override;
    void Update(float dt) override;
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;
    void SetMatrix(const YMatrix* matrix) override;
    // After each hit: explosive turns to fire; otherwise, at most once a second, a random one of
    // modes 0..6.
    void AfterHit();
    void SetInnerMode(int k);

    YBallMode* inner;
    float switchTimer = 1.0f;
};

// A new mode object of index 0..8 (normal, heavy, phantom, fire, explosive, electro, generative,
// universal, small), owned by the caller. Any other index makes a normal mode.
YBallMode* CreateBallMode(int index);
