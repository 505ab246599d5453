#include "world/physics/physics_world.h"

#include <cmath>
#include <cstring>

#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "world/physics/arena.h"
#include "world/physics/categories.h"
#include "world/physics/racket_link.h"
#include "world/physics/rigid_body.h"
#include "world/physics/wall_contacts.h"

YPhysicsWorld g_PhysicsWorld;
YRacketLink* g_RacketLink = nullptr;
void (*g_PhysicsStepObserver)(float step) = nullptr;

namespace {

dWorldID world = nullptr;
dSpaceID space = nullptr;
dJointGroupID contactGroup = nullptr;
dGeomID reachRay = nullptr;
dGeomID occlusionRay = nullptr;
dGeomID probeSphere = nullptr;
bool odeStarted = false;

dContact contactTemplates[MAX_CONTACTS_PER_PAIR];
YContactRecord contactRecords[CONTACT_RECORDS];
int contactRecordCount = 0;
YStepAccumulator stepAccumulator;
bool ballMovedFlag = false;

constexpr float ERP = 0.5f;
constexpr float CFM = 0.001f;
constexpr float BOUNCE = 0.95f;
constexpr float SPEED_FACTOR_CREEP = 0.007f;

void SetTemplate(double mu) {
    for (dContact& c : contactTemplates) {
        std::memset(&c, 0, sizeof(c));
        c.surface.mode = 0;
        c.surface.mu = mu;
        c.surface.bounce = BOUNCE;
        c.surface.bounce_vel = 0.0;
    }
}

YVector ToVector(const dReal* v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

YRigidBody* BodyWrapper(dBodyID body) { return body ? static_cast<YRigidBody*>(dBodyGetData(body)) : nullptr; }

// A unit vector of random direction, from the 15-bit generator.
YVector RandomUnit() {
    for (;;) {
        YVector v(plat::CrtRand() / 32767.0f - 0.5f, plat::CrtRand() / 32767.0f - 0.5f,
                  plat::CrtRand() / 32767.0f - 0.5f);
        const float len = std::sqrt(v.Dot(v));
        if (len > 1e-6f) return v * (1.0f / len);
    }
}

// The side effects of a ball touching static geometry, run inside the collision pass.
void BallMeetsStatic(YRigidBall* ball, dGeomID staticGeom, const dContactGeom& contact, const YVector& nb) {
    const unsigned long category = dGeomGetCategoryBits(staticGeom);
    const YVector position = ToVector(contact.pos);
    YBumpEvent* listener = ball->listener;
    if (category & phys::CAT_FLOOR) {
        YVector v;
        ball->GetLinearVel(&v);
        const float impact = FloorKickImpact(v, nb);
        if (impact > 0.1f && listener) listener->KickSound(&position, impact);
    } else if (category & (phys::CAT_WALL | phys::CAT_BACK_WALL)) {
        if (!(g_RacketLink && g_RacketLink->HeldOwnsBody(ball))) OnWallContact(&position, &nb);
        if (std::fabs(nb.y) > 0.5f && listener) {
            const YVector zero(0.0f, 0.0f, 0.0f);
            listener->OnContact(nullptr, nullptr, &zero, &zero, &position, &nb, static_cast<float>(contact.depth));
        }
    }
}

void PhysicsNearCallback(void* data, dGeomID o1, dGeomID o2) {
    if (dGeomIsSpace(o1) || dGeomIsSpace(o2)) {
        // The arena holds only static geometry: a sleeping body has nothing to meet there.
        const dSpaceID arena = PhysicsArenaSpace();
        dGeomID other = o1 == reinterpret_cast<dGeomID>(arena)   ? o2
                        : o2 == reinterpret_cast<dGeomID>(arena) ? o1
                                                                 : nullptr;
        if (other && !dGeomIsSpace(other) && dGeomGetBody(other) && !dBodyIsEnabled(dGeomGetBody(other))) return;
        dSpaceCollide2(o1, o2, data, &PhysicsNearCallback);
        return;
    }
    dBodyID b1 = dGeomGetBody(o1);
    dBodyID b2 = dGeomGetBody(o2);
    // Nothing moves in a pair without an awake body: bodies that auto-disable has put to sleep
    // cost no contacts while they rest on the floor or on each other. (Tested first: most pairs
    // of a table full of blocks at rest end here.)
    if (!(b1 && dBodyIsEnabled(b1)) && !(b2 && dBodyIsEnabled(b2))) return;
    if (b1 && b2 && dAreConnectedExcluding(b1, b2, dJointTypeContact)) return;

    const int n = dCollide(o1, o2, MAX_CONTACTS_PER_PAIR, &contactTemplates[0].geom, sizeof(dContact));
    if (n <= 0) return;

    YRigidBody* d1 = BodyWrapper(b1);
    YRigidBody* d2 = BodyWrapper(b2);
    YRigidBall* ball1 = dynamic_cast<YRigidBall*>(d1);
    YRigidBall* ball2 = dynamic_cast<YRigidBall*>(d2);
    if (ball1) ball1->touched = true;
    if (ball2) ball2->touched = true;

    const int mode = (ball1 || ball2) ? dContactBounce : 0;
    const int balls = (ball1 ? 1 : 0) + (ball2 ? 1 : 0);
    const int bodies = (d1 ? 1 : 0) + (d2 ? 1 : 0);
    const bool phantomPasses = ((ball1 && ball1->kind == 2) || (ball2 && ball2->kind == 2)) && balls < bodies;

    float depths[MAX_CONTACTS_PER_PAIR];
    bool recorded[MAX_CONTACTS_PER_PAIR];
    for (int i = 0; i < n; ++i) depths[i] = static_cast<float>(contactTemplates[i].geom.depth);
    int chosen = -1;
    float pairDepth = 0.0f;
    const int k = SelectPairContacts(depths, n, PairDepthThreshold(balls, bodies), contactRecordCount, &chosen,
                                     &pairDepth, recorded);

    dJointID pairChosenJoint = nullptr;
    YVector positionSum(0.0f, 0.0f, 0.0f);
    YVector normalSum(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < n; ++i) {
        dContact& c = contactTemplates[i];
        c.surface.mode = mode;
        dJointID j = dJointCreateContact(world, contactGroup, &c);
        if (!phantomPasses) dJointAttach(j, b1, b2);

        const YVector normal = ToVector(c.geom.normal);
        if (ball2 && !d1)
            BallMeetsStatic(ball2, o1, c.geom, normal.Negate());
        else if (ball1 && !d2)
            BallMeetsStatic(ball1, o2, c.geom, normal);

        if (recorded[i]) {
            positionSum = positionSum + ToVector(c.geom.pos);
            normalSum = normalSum + normal;
            if (i == chosen) pairChosenJoint = j;
        }
    }
    if (!pairChosenJoint) return;
    if (!(d1 && d1->listener) && !(d2 && d2->listener)) return;

    YContactRecord& r = contactRecords[contactRecordCount++];
    // A joint left unattached gets no feedback from the step: the record then reports zero force
    // instead of whatever an earlier step left there.
    std::memset(&r.feedback, 0, sizeof(r.feedback));
    dJointSetFeedback(pairChosenJoint, &r.feedback);
    r.body1 = d1;
    r.body2 = d2;
    r.geomData1 = dGeomGetData(o1);
    r.geomData2 = dGeomGetData(o2);
    r.position = positionSum * (1.0f / static_cast<float>(k));
    const float s = std::sqrt(normalSum.Dot(normalSum));
    r.normal = s < 1e-6f ? RandomUnit() : normalSum * (1.0f / s);
    r.depth = pairDepth;
}

struct SpaceWalk {
    dGeomID geom;
    void* data;
    dNearCallback* callback;
};

void SpaceWalkCallback(void* data, dGeomID o1, dGeomID o2) {
    SpaceWalk* walk = static_cast<SpaceWalk*>(data);
    dGeomID other = o1 == walk->geom ? o2 : o1;
    if (dGeomIsSpace(other)) {
        dSpaceCollide2(walk->geom, other, walk, &SpaceWalkCallback);
        return;
    }
    walk->callback(walk->data, walk->geom, other);
}

struct ContactCollect {
    dContactGeom* out;
    int max;
    int count;
};

void ContactCollectCallback(void* data, dGeomID geom, dGeomID other) {
    ContactCollect* c = static_cast<ContactCollect*>(data);
    if (c->count >= c->max) return;
    const int n = dCollide(geom, other, c->max - c->count, c->out + c->count, sizeof(dContactGeom));
    for (int i = 0; i < n; ++i) {
        c->out[c->count + i].g1 = geom;
        c->out[c->count + i].g2 = other;
    }
    c->count += n;
}

} // namespace

float PairDepthThreshold(int balls, int bodies) {
    float threshold = 0.05f;
    if (balls > 0) {
        threshold = 0.0f;
        if (balls >= bodies) threshold = 1000000.0f;
    }
    return threshold;
}

int SelectPairContacts(const float* depths, int n, float threshold, int recordCount, int* chosen, float* depth,
                       bool* recorded) {
    int k = 0;
    *chosen = -1;
    for (int i = 0; i < n; ++i) {
        recorded[i] = false;
        if (depths[i] > threshold && recordCount < MAX_CONTACT_RECORDS) {
            threshold = depths[i];
            recorded[i] = true;
            *chosen = i;
            ++k;
        }
    }
    *depth = threshold;
    return k;
}

float FloorKickImpact(const YVector& velocity, const YVector& nb) {
    const float len = std::sqrt(velocity.Dot(velocity));
    if (len < 1e-6f) return 0.0f;
    const float impact = -1.5f * (velocity * (1.0f / len)).Dot(nb);
    return impact < 1.0f ? impact : 1.0f;
}

void PhysicsInit() {
    if (world) return;
    if (!odeStarted) {
        dInitODE2(0);
        dAllocateODEDataForThread(dAllocateMaskAll);
        odeStarted = true;
    }
    world = dWorldCreate();
    // A quadtree over the table's plane: its blocks are made here once, and a collision pass walks
    // them without allocating (a hash space builds its cell table on the heap on every pass).
    // Geoms beyond the root block's 128 x 128 units stay in the root and still collide.
    const dVector3 centre = {0.0, 0.0, 0.0, 0.0};
    const dVector3 halfExtents = {64.0, 64.0, 32.0, 0.0};
    space = dQuadTreeSpaceCreate(nullptr, centre, halfExtents, 5);
    reachRay = dCreateRay(nullptr, PHYSICS_RAY_LENGTH);
    dGeomSetCategoryBits(reachRay, phys::CAT_REACH_RAY);
    dGeomSetCollideBits(reachRay, phys::CAT_BLOCK);
    occlusionRay = dCreateRay(nullptr, PHYSICS_RAY_LENGTH);
    dGeomSetCategoryBits(occlusionRay, phys::CAT_OCCLUSION);
    dGeomSetCollideBits(occlusionRay, 0);
    probeSphere = dCreateSphere(nullptr, 1.0);
    dGeomSetCategoryBits(probeSphere, phys::CAT_PROBE);
    dGeomSetCollideBits(probeSphere, phys::CAT_BLOCK);
    contactGroup = dJointGroupCreate(0);
    dWorldSetGravity(world, 0.0, 0.0, -9.8);
    dWorldSetAutoDisableFlag(world, 1);
    dWorldSetAutoDisableLinearThreshold(world, 0.1);
    dWorldSetAutoDisableAngularThreshold(world, 0.1);
    dWorldSetAutoDisableSteps(world, 30);
    dWorldSetAutoDisableTime(world, 1.5);
    SetTemplate(dInfinity);
    dWorldSetCFM(world, CFM);
    dWorldSetERP(world, ERP);
    g_PhysicsWorld.ballSpeedFactor = BALL_SPEED_FACTOR_MIN;
    stepAccumulator = YStepAccumulator();
    contactRecordCount = 0;
    ballMovedFlag = false;
}

void PhysicsShutdown() {
    if (!world) return;
    dGeomDestroy(reachRay);
    dGeomDestroy(occlusionRay);
    dGeomDestroy(probeSphere);
    dJointGroupDestroy(contactGroup);
    dSpaceDestroy(space);
    PhysicsArenaForget();
    dWorldDestroy(world);
    reachRay = occlusionRay = probeSphere = nullptr;
    contactGroup = nullptr;
    space = nullptr;
    world = nullptr;
    dCloseODE();
    odeStarted = false;
}

bool PhysicsReady() { return world != nullptr; }
dWorldID PhysicsWorldId() { return world; }
dSpaceID PhysicsSpace() { return space; }
dGeomID PhysicsReachRay() { return reachRay; }
dGeomID PhysicsOcclusionRay() { return occlusionRay; }
dGeomID PhysicsProbeSphere() { return probeSphere; }
const YContactRecord* ContactRecords() { return contactRecords; }
int ContactRecordCount() { return contactRecordCount; }
void SetBallMoved() { ballMovedFlag = true; }
double ContactFriction() { return contactTemplates[0].surface.mu; }
float PhysicsStoredTime() { return stepAccumulator.stored; }

void YPhysicsWorld::SetContactFriction(float mu) {
    const double value = mu > 0.0f ? static_cast<double>(mu) : dInfinity;
    for (dContact& c : contactTemplates) c.surface.mu = value;
}

void YPhysicsWorld::PhysicsStep(float dt) {
    float acc = 0.0f;
    if (!world || !stepAccumulator.Advance(dt, &acc)) return;
    if (g_PhysicsStepObserver) g_PhysicsStepObserver(acc);

    contactRecordCount = 0;
    dSpaceCollide(space, nullptr, &PhysicsNearCallback);
    dWorldQuickStep(world, acc);
    // The step marked every geom of an awake body as moved. Settling the space now empties its list
    // of moved geoms, which the space would otherwise walk (and shift) for every geom removed from
    // it before the next pass: splinters and blocks deleted in the next frame's tick, many at once
    // when blocks break together while hundreds of bodies are awake.
    dSpaceClean(space);

    for (int i = 0; i < contactRecordCount; ++i) {
        const YContactRecord& r = contactRecords[i];
        YBumpEvent* l1 = r.body1 ? r.body1->listener : nullptr;
        YBumpEvent* l2 = r.body2 ? r.body2->listener : nullptr;
        if (l1) {
            const YVector force = ToVector(r.feedback.f1);
            const YVector torque = ToVector(r.feedback.t1);
            l1->OnContact(r.geomData1, l2, &force, &torque, &r.position, &r.normal, r.depth);
        }
        if (l2) {
            const YVector force = ToVector(r.feedback.f2);
            const YVector torque = ToVector(r.feedback.t2);
            const YVector normal = r.normal.Negate();
            l2->OnContact(r.geomData2, l1, &force, &torque, &r.position, &normal, r.depth);
        }
    }
    dJointGroupEmpty(contactGroup);

    if (ballMovedFlag) {
        const float f = ballSpeedFactor + SPEED_FACTOR_CREEP * acc;
        ballSpeedFactor = f < BALL_SPEED_FACTOR_MAX ? f : BALL_SPEED_FACTOR_MAX;
    }
    ballMovedFlag = false;
}

void CollideGeomWithSpace(dGeomID geom, dSpaceID target, void* data, dNearCallback* callback) {
    SpaceWalk walk{geom, data, callback};
    dSpaceCollide2(geom, reinterpret_cast<dGeomID>(target), &walk, &SpaceWalkCallback);
}

int CollideGeomContacts(dGeomID geom, dSpaceID target, int max, dContactGeom* out) {
    ContactCollect collect{out, max, 0};
    CollideGeomWithSpace(geom, target, &collect, &ContactCollectCallback);
    return collect.count;
}
