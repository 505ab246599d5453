#pragma once
// One ODE body per moving game object. The body's user data points back to its wrapper, which
// carries the object's contact listener (world/physics/bump_event.h). The subclasses add the
// collision geometry, created in the world space of world/physics/physics_world.h with the
// categories of world/physics/categories.h:
//   YRigidBall   a sphere: balls, bombs, grenades, falling bonuses; keeps a ball playable (Update)
//   YRigidBox    one box: single blocks and splinters
//   YRigidBoxSet many boxes on one body in a space of their own: the cells of a block set
// A wrapper's body and geoms live exactly as long as the wrapper. PhysicsInit must have run.
//
// Placement: a YMatrix holds row vectors with the translation in elements 12-14; ODE's rotation is
// the transpose of its upper 3 x 3 (ODE element (r, c) = matrix element c * 4 + r).
#include <ode/ode.h>

#include "math/matrix.h"
#include "math/vector.h"
#include "world/physics/bump_event.h"

class YRigidBody {
public:
    // A body in the world whose user data is this wrapper; no listener.
    YRigidBody();
    virtual ~YRigidBody();
    YRigidBody(const YRigidBody&) = delete;
    YRigidBody& operator=(const YRigidBody&) = delete;

    // Enables the body and places it: position from elements 12-14, rotation from the 3 x 3.
    void SetMatrix(const YMatrix* m);
    // The body's placement; elements 3, 7, 11 are 0 and 15 is 1. Returns out.
    YMatrix* GetMatrix(YMatrix* out) const;
    void SetEnabled(bool on);
    bool IsEnabled() const;

    // Mass with the centre at the body origin and a diagonal inertia. With `soften` the mass m
    // becomes 0.1 (m <= 0.1), m (m <= 1) or (1 - 0.1 / (0.01 m + 0.1)) x 10 + 0.1 (heavier: towards
    // 10.1) and the inertia is scaled by the same ratio. Returns the mass given to the body.
    float SetMassDiagonal(float mass, const YVector* inertia, bool soften);
    // The same with a full symmetric inertia: I11, I22, I33 from the diagonal, I12, I13, I23 from
    // elements (0, 1), (0, 2), (1, 2).
    float SetMassMatrix(float mass, const YMatrix3* inertia, bool soften);

    void GetPosition(YVector* out) const;
    void GetLinearVel(YVector* out) const;
    void GetAngularVel(YVector* out) const;
    // Velocity of a world point moving with the body.
    void GetPointVel(const YVector* point, YVector* out) const;
    void SetLinearVel(const YVector* v);
    void SetAngularVel(const YVector* v);
    void AddForce(const YVector* f);
    void AddForceAtPos(const YVector* force, const YVector* position);

    // The wrapper of an ODE body (null for none).
    static YRigidBody* FromBody(dBodyID body);

    dBodyID body;
    YBumpEvent* listener = nullptr; // not owned
};

// The mass used for `mass` under the softening rule (see SetMassDiagonal).
float SoftenedMass(float mass);

class YRigidBall : public YRigidBody {
public:
    // A sphere of radius 0.5 (the owner sets the real radius through Configure) attached to the
    // body; kind 1 gets category 256 / collide 0xC, any other kind 2 / 0x20F, for good. Linear
    // velocity (-1, -0.5, 0), touched set, currentSpeed 0.
    YRigidBall(float radius, int kind, float speed);
    ~YRigidBall() override;

    // Stores kind, speed and listener, then SetRadius. The category bits stay as constructed.
    void Configure(float radius, int kind, float speed, YBumpEvent* listener);
    // Changes the sphere only when r differs from its radius.
    void SetRadius(float r);
    float GetRadius() const;
    // Velocity := direction x speed x ballSpeedFactor, position := position, touched cleared.
    void Launch(const YVector* direction, const YVector* position);
    // The speed, height and direction rules of a flying ball, once per frame (see rigid_body.cpp).
    void Update(float dt);
    // Collision of the sphere on or off (held bombs and grenades).
    void SetGeomEnabled(bool on);

    dGeomID geom;
    bool touched = true; // set by every colliding pair the sphere takes part in
    float speed;         // base speed; the wanted horizontal speed is speed x ballSpeedFactor
    float currentSpeed = 0.0f;
    int kind; // 0 ordinary, 1 rolls towards the racket, 2 passes through bodies
};

class YRigidBox : public YRigidBody {
public:
    // A body with a box of full size 2 x halfSize on the ball side (collide 0x17).
    YRigidBox(const YVector* halfSize, bool blended);
    // A body without a geom; call CreateBox.
    YRigidBox();
    ~YRigidBox() override;

    // The box: category 1, collide 0x17 (ballSide) or 0x15, + 0x400 when not blended.
    void CreateBox(const YVector* halfSize, bool ballSide, bool blended);
    void SetHalfSize(const YVector* halfSize);

    dGeomID geom = nullptr;
};

class YRigidBoxSet : public YRigidBody {
public:
    // A body with an empty hash space of its own inside the world space.
    YRigidBoxSet();
    // Destroys the space with the boxes still in it (the destroy hook hears of each), then the body.
    ~YRigidBoxSet() override;

    // A box of full size 2 x halfSize in the set's space, attached to the body at offset 0, with
    // itemData as its user data (contacts hand it to the listener); category 1, collide 0x17 when
    // blended, else 0x417.
    dGeomID AddBox(const YVector* halfSize, void* itemData, bool blended);
    // Places a box relative to the body.
    void SetBoxOffset(dGeomID box, const YVector* offset);
    // Hands a box to another set, keeping its place in the world.
    void MoveBoxTo(dGeomID box, YRigidBoxSet* target);
    // The destroy hook (when set), then the box is destroyed.
    void RemoveBox(dGeomID box);

    dSpaceID space;
};

// Called with every box geom that YRigidBox or YRigidBoxSet::RemoveBox destroys, just before; set
// only while an explosion walks its contacts.
extern void (*geomDestroyHook)(dGeomID geom);
