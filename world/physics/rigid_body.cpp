#include "world/physics/rigid_body.h"

#include <cmath>

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "world/physics/categories.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"

void (*geomDestroyHook)(dGeomID geom) = nullptr;

namespace {

YVector ToVector(const dReal* v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

bool Finite(float v) { return std::isfinite(v); }

// dMassSetParameters with a guard: ODE refuses (or feeds the solver NaN from) a mass that is not
// positive and finite or an inertia whose diagonal is not, so such input falls back to the lightest
// mass and the inertia of a unit cube of it.
void ApplyMass(dBodyID body, float mass, float i11, float i22, float i33, float i12, float i13, float i23) {
    if (!(mass > 0.0f) || !Finite(mass)) mass = 0.1f;
    const bool inertiaOk = i11 > 0.0f && i22 > 0.0f && i33 > 0.0f && Finite(i11) && Finite(i22) && Finite(i33) &&
                           Finite(i12) && Finite(i13) && Finite(i23);
    if (!inertiaOk) {
        i11 = i22 = i33 = mass / 6.0f;
        i12 = i13 = i23 = 0.0f;
    }
    dMass m;
    dMassSetParameters(&m, mass, 0.0, 0.0, 0.0, i11, i22, i33, i12, i13, i23);
    dBodySetMass(body, &m);
}

float RandomPush() { return plat::CrtRand() / 32767.0f * 0.2f - 0.1f; }

} // namespace

float SoftenedMass(float mass) {
    if (mass <= 0.1f) return 0.1f;
    if (mass <= 1.0f) return mass;
    return (1.0f - 0.1f / (0.01f * mass + 0.1f)) * 10.0f + 0.1f;
}

// ---- YRigidBody ----

YRigidBody::YRigidBody() : body(dBodyCreate(PhysicsWorldId())) { dBodySetData(body, this); }

YRigidBody::~YRigidBody() { dBodyDestroy(body); }

YRigidBody* YRigidBody::FromBody(dBodyID b) { return b ? static_cast<YRigidBody*>(dBodyGetData(b)) : nullptr; }

void YRigidBody::SetMatrix(const YMatrix* m) {
    dBodyEnable(body);
    dBodySetPosition(body, m->m[12], m->m[13], m->m[14]);
    dMatrix3 r;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) r[row * 4 + col] = m->m[col * 4 + row];
        r[row * 4 + 3] = 0.0;
    }
    // The turn goes in as a unit quaternion. A matrix that is no rotation (a damaged level's set
    // matrix) can give a quaternion of no length or none at all, which the physics library would
    // stop the program over; such a body keeps no turn.
    dQuaternion q;
    dRtoQ(r, q);
    const dReal length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (std::isfinite(length) && length > dReal(1e-6)) {
        for (dReal& c : q) c /= length;
    } else {
        q[0] = 1;
        q[1] = q[2] = q[3] = 0;
    }
    dBodySetQuaternion(body, q);
}

YMatrix* YRigidBody::GetMatrix(YMatrix* out) const {
    const dReal* r = dBodyGetRotation(body);
    const dReal* p = dBodyGetPosition(body);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) out->m[col * 4 + row] = static_cast<float>(r[row * 4 + col]);
    out->m[3] = out->m[7] = out->m[11] = 0.0f;
    out->m[12] = static_cast<float>(p[0]);
    out->m[13] = static_cast<float>(p[1]);
    out->m[14] = static_cast<float>(p[2]);
    out->m[15] = 1.0f;
    return out;
}

void YRigidBody::SetEnabled(bool on) {
    if (on)
        dBodyEnable(body);
    else
        dBodyDisable(body);
}

bool YRigidBody::IsEnabled() const { return dBodyIsEnabled(body) != 0; }

float YRigidBody::SetMassDiagonal(float mass, const YVector* inertia, bool soften) {
    float used = mass;
    float scale = 1.0f;
    if (soften) {
        used = SoftenedMass(mass);
        scale = used / mass;
    }
    ApplyMass(body, used, inertia->x * scale, inertia->y * scale, inertia->z * scale, 0.0f, 0.0f, 0.0f);
    return used;
}

float YRigidBody::SetMassMatrix(float mass, const YMatrix3* inertia, bool soften) {
    float used = mass;
    float scale = 1.0f;
    if (soften) {
        used = SoftenedMass(mass);
        scale = used / mass;
    }
    const float* i = inertia->m;
    ApplyMass(body, used, i[0] * scale, i[4] * scale, i[8] * scale, i[1] * scale, i[2] * scale, i[5] * scale);
    return used;
}

void YRigidBody::GetPosition(YVector* out) const { *out = ToVector(dBodyGetPosition(body)); }
void YRigidBody::GetLinearVel(YVector* out) const { *out = ToVector(dBodyGetLinearVel(body)); }
void YRigidBody::GetAngularVel(YVector* out) const { *out = ToVector(dBodyGetAngularVel(body)); }

void YRigidBody::GetPointVel(const YVector* point, YVector* out) const {
    dVector3 v;
    dBodyGetPointVel(body, point->x, point->y, point->z, v);
    *out = ToVector(v);
}

void YRigidBody::SetLinearVel(const YVector* v) { dBodySetLinearVel(body, v->x, v->y, v->z); }
void YRigidBody::SetAngularVel(const YVector* v) { dBodySetAngularVel(body, v->x, v->y, v->z); }
void YRigidBody::AddForce(const YVector* f) { dBodyAddForce(body, f->x, f->y, f->z); }

void YRigidBody::AddForceAtPos(const YVector* force, const YVector* position) {
    dBodyAddForceAtPos(body, force->x, force->y, force->z, position->x, position->y, position->z);
}

// ---- YRigidBall ----

YRigidBall::YRigidBall(float radius, int kind_, float speed_) : speed(speed_), kind(kind_) {
    geom = dCreateSphere(PhysicsSpace(), 0.5);
    dGeomSetBody(geom, body);
    if (kind == 1) {
        dGeomSetCategoryBits(geom, phys::CAT_ROLLER);
        dGeomSetCollideBits(geom, phys::COLLIDE_ROLLER);
    } else {
        dGeomSetCategoryBits(geom, phys::CAT_BALL);
        dGeomSetCollideBits(geom, phys::COLLIDE_BALL);
    }
    dBodySetLinearVel(body, -1.0, -0.5, 0.0);
}

YRigidBall::~YRigidBall() { dGeomDestroy(geom); }

void YRigidBall::Configure(float radius, int kind_, float speed_, YBumpEvent* listener_) {
    kind = kind_;
    speed = speed_;
    listener = listener_;
    SetRadius(radius);
}

void YRigidBall::SetRadius(float r) {
    if (static_cast<float>(dGeomSphereGetRadius(geom)) != r) dGeomSphereSetRadius(geom, r);
}

float YRigidBall::GetRadius() const { return static_cast<float>(dGeomSphereGetRadius(geom)); }

void YRigidBall::Launch(const YVector* direction, const YVector* position) {
    const YVector v = *direction * (speed * g_PhysicsWorld.ballSpeedFactor);
    SetLinearVel(&v);
    currentSpeed = std::sqrt(v.Dot(v));
    dBodySetPosition(body, position->x, position->y, position->z);
    touched = false;
}

void YRigidBall::SetGeomEnabled(bool on) {
    if (on)
        dGeomEnable(geom);
    else
        dGeomDisable(geom);
}

// The rules that keep a ball playable, on its linear velocity v:
//  1. a ball that barely moves across the table gets a random push of at most 0.1 in x and y;
//  2. its speed changes by at most 20 units/s per second from one frame to the next;
//  3. a rising ball is slowed: halved after its first touch in low-ball modes, else eased towards
//     the wanted speed when more than 10% too fast;
//  4. kind-1 bodies roll towards the racket: half the sideways speed, at least 1 unit/s towards
//     -y, spinning only about x;
//  5. the horizontal speed is eased towards the wanted one when off by more than 10%;
//  6. above the ceiling (0 at the racket's edge, a third of the depth at the far edge) the ball is
//     pulled down and its climb slowed;
//  7. the spin fades by the frame time.
void YRigidBall::Update(float dt) {
    const float factor = g_PhysicsWorld.ballSpeedFactor;
    YVector v;
    GetLinearVel(&v);
    if (std::fabs(v.x) + std::fabs(v.y) < 0.1f) {
        v.x = RandomPush();
        v.y = RandomPush();
    }
    float s = std::sqrt(v.Dot(v));
    const float maxDelta = 20.0f * dt;
    if (currentSpeed > 0.0f && std::fabs(s - currentSpeed) > maxDelta) {
        const float wanted = s > currentSpeed ? currentSpeed + maxDelta : currentSpeed - maxDelta;
        v = v * (wanted / s);
        s = std::sqrt(v.Dot(v));
    }
    currentSpeed = s;
    const float target = factor * speed;

    if (v.z > 0.0f) {
        if (GetInit().CurrentGameMode().lowBall && touched)
            v.z *= 0.5f;
        else if (s > 1.1f * target)
            v.z *= 1.0f + std::fmin(1.0f, 5.0f * dt) * (target - s) / s;
    }
    if (dGeomGetCategoryBits(geom) == phys::CAT_ROLLER) {
        v.x *= 0.5f;
        if (v.y > -1e-6f) v.y = -1.0f;
        YVector w;
        GetAngularVel(&w);
        w.y = w.z = 0.0f;
        SetAngularVel(&w);
    }
    const float h = std::sqrt(v.x * v.x + v.y * v.y);
    if (std::fabs(h - target) > 0.1f * target) {
        const float k = 1.0f + std::fmin(1.0f, 2.0f * dt) * (target - h) / h;
        v.x *= k;
        v.y *= k;
    }

    YVector p;
    GetPosition(&p);
    const float depth = g_TableSize.depth;
    const float rel = 0.5f - p.y / depth;
    const float ceiling = 0.33f * depth * (1.0f - rel * rel);
    if (p.z > ceiling) {
        dBodySetPosition(body, p.x, p.y, p.z + 0.15f * factor * (ceiling - p.z));
        if (v.z > 0.0f) v.z -= dt;
    }

    SetLinearVel(&v);
    currentSpeed = std::sqrt(v.Dot(v));
    SetBallMoved();

    YVector w;
    GetAngularVel(&w);
    w = w * std::fmax(0.0f, 1.0f - dt);
    SetAngularVel(&w);
}

// ---- YRigidBox ----

YRigidBox::YRigidBox(const YVector* halfSize, bool blended) { CreateBox(halfSize, true, blended); }

YRigidBox::YRigidBox() = default;

YRigidBox::~YRigidBox() {
    if (geom) {
        if (geomDestroyHook) geomDestroyHook(geom);
        dGeomDestroy(geom);
    }
}

void YRigidBox::CreateBox(const YVector* halfSize, bool ballSide, bool blended) {
    geom = dCreateBox(PhysicsSpace(), 2.0f * halfSize->x, 2.0f * halfSize->y, 2.0f * halfSize->z);
    dGeomSetBody(geom, body);
    dGeomSetCategoryBits(geom, phys::CAT_BLOCK);
    unsigned long collide = ballSide ? phys::COLLIDE_BLOCK_BALL_SIDE : phys::COLLIDE_BLOCK_SPLINTER;
    if (!blended) collide |= phys::COLLIDE_OPAQUE;
    dGeomSetCollideBits(geom, collide);
}

void YRigidBox::SetHalfSize(const YVector* halfSize) {
    if (geom) dGeomBoxSetLengths(geom, 2.0f * halfSize->x, 2.0f * halfSize->y, 2.0f * halfSize->z);
}

// ---- YRigidBoxSet ----

YRigidBoxSet::YRigidBoxSet() : space(dHashSpaceCreate(PhysicsSpace())) { dSpaceSetCleanup(space, 1); }

// The boxes go with the space; the destroy hook hears of each first, so a blast that is walking its
// contacts forgets every box of a set that a hit destroyed, not only the one it hit.
YRigidBoxSet::~YRigidBoxSet() {
    if (geomDestroyHook)
        for (int i = dSpaceGetNumGeoms(space) - 1; i >= 0; --i) geomDestroyHook(dSpaceGetGeom(space, i));
    dSpaceDestroy(space);
}

dGeomID YRigidBoxSet::AddBox(const YVector* halfSize, void* itemData, bool blended) {
    dGeomID box = dCreateBox(space, 2.0f * halfSize->x, 2.0f * halfSize->y, 2.0f * halfSize->z);
    dGeomSetCategoryBits(box, phys::CAT_BLOCK);
    dGeomSetCollideBits(box,
                        blended ? phys::COLLIDE_BLOCK_BALL_SIDE : phys::COLLIDE_BLOCK_BALL_SIDE | phys::COLLIDE_OPAQUE);
    dGeomSetBody(box, body);
    dGeomSetData(box, itemData);
    return box;
}

void YRigidBoxSet::SetBoxOffset(dGeomID box, const YVector* offset) {
    dGeomSetOffsetPosition(box, offset->x, offset->y, offset->z);
}

void YRigidBoxSet::MoveBoxTo(dGeomID box, YRigidBoxSet* target) {
    const dReal* p = dGeomGetPosition(box);
    dVector3 position = {p[0], p[1], p[2], 0.0};
    dMatrix3 rotation;
    const dReal* r = dGeomGetRotation(box);
    for (int i = 0; i < 12; ++i) rotation[i] = r[i];
    dSpaceRemove(space, box);
    dSpaceAdd(target->space, box);
    // Handing an offset geom to another body drops its offset record but not the placement ODE
    // made for it, which would be lost; clearing the offset first frees both.
    dGeomClearOffset(box);
    dGeomSetBody(box, target->body);
    dGeomSetOffsetWorldPosition(box, position[0], position[1], position[2]);
    dGeomSetOffsetWorldRotation(box, rotation);
}

void YRigidBoxSet::RemoveBox(dGeomID box) {
    if (geomDestroyHook) geomDestroyHook(box);
    dGeomDestroy(box);
}
