#pragma once
// The physics world over ODE: one world, one quadtree space holding every body geom and the nested
// spaces (the table arena, each block set), one joint group of contact joints, the fixed-threshold
// step and the hand-out of contact records to the bodies' listeners (world/physics/bump_event.h).
//
// Life: PhysicsInit() once at start (it also starts ODE), PhysicsShutdown() once at exit (it also
// closes ODE). Every body wrapper (world/physics/rigid_body.h) must be gone before the shutdown.
//
// A frame: YZDelete::TickAll(dt), then g_PhysicsWorld.PhysicsStep(dt), then the game objects'
// updates. PhysicsStep collects time until 0.025 s have built up and then steps once with all of
// it; contact listeners run after the step, in record order, body 1 then body 2.
//
// Main thread only. ODE's dReal is double here; game values stay float and are converted at the
// wrappers' boundary.
#include <ode/ode.h>

#include "math/vector.h"

class YRigidBody;
class YBumpEvent;

// One colliding geom pair of the last step that produced a recordable contact.
struct YContactRecord {
    dJointFeedback feedback; // forces and torques on both bodies, from the pair's deepest contact
    YRigidBody* body1;       // wrappers of the two geoms' bodies; null for a geom without a body
    YRigidBody* body2;
    YVector position; // mean position of the recorded contacts
    YVector normal;   // unit normal, ODE's orientation for geom 1
    float depth;      // the deepest recorded penetration
    void* geomData1;  // user data of the two geoms (a block-set cell's item)
    void* geomData2;
};

constexpr int CONTACT_RECORDS = 200;     // room in the record table
constexpr int MAX_CONTACT_RECORDS = 199; // records made in one step at most
constexpr int MAX_CONTACTS_PER_PAIR = 4;
constexpr float PHYSICS_STEP_THRESHOLD = 0.05f * 0.5f;
constexpr float BALL_SPEED_FACTOR_MIN = 0.7f;
constexpr float BALL_SPEED_FACTOR_MAX = 1.2f;
constexpr float PHYSICS_RAY_LENGTH = 7.0f;

// Time collected between steps.
struct YStepAccumulator {
    float stored = 0.0f;

    // Adds dt; true with *step = everything collected once that reaches the threshold (the store
    // is then empty), false otherwise.
    bool Advance(float dt, float* step) {
        const float acc = stored + dt;
        stored = 0.0f;
        if (acc < PHYSICS_STEP_THRESHOLD) {
            stored = acc;
            return false;
        }
        *step = acc;
        return true;
    }
};

// The contact-record rules of one pair, apart from ODE so they can be checked on their own.
// Depth a contact must exceed to be recorded: 0.05 between bodies, 0 when a ball takes part, and
// never (1e6) when the pair has no body that is not a ball (ball-static, ball-ball).
float PairDepthThreshold(int balls, int bodies);
// Which of n contacts (depths in contact order) are recorded: a contact is recorded when it is
// deeper than the threshold, which then rises to its depth, and while fewer than
// MAX_CONTACT_RECORDS records exist. Returns the number recorded; *chosen = index of the last
// recorded (the deepest), -1 when none; *depth = final threshold; recorded[i] set per contact.
int SelectPairContacts(const float* depths, int n, float threshold, int recordCount, int* chosen, float* depth,
                       bool* recorded);
// Loudness of a ball meeting the floor: min(1, -1.5 x unit(v) . nb) with nb the floor normal
// towards the ball; 0 for a velocity shorter than 1e-6. The kick sound plays above 0.1.
float FloorKickImpact(const YVector& velocity, const YVector& nb);

class YPhysicsWorld {
public:
    // Steps the world when 0.025 s have built up, then hands out the contact records.
    void PhysicsStep(float dt);
    // ballSpeedFactor := 0.7 / 1.2.
    void ResetBallSpeed() { ballSpeedFactor = BALL_SPEED_FACTOR_MIN; }
    void MaxBallSpeed() { ballSpeedFactor = BALL_SPEED_FACTOR_MAX; }
    // Friction of every contact: mu when mu > 0, otherwise infinite (the largest float).
    void SetContactFriction(float mu);

    float ballSpeedFactor = BALL_SPEED_FACTOR_MIN;
};

extern YPhysicsWorld g_PhysicsWorld;

// Starts ODE and builds the world (once; later calls do nothing). Stops ODE and destroys it all.
void PhysicsInit();
void PhysicsShutdown();
bool PhysicsReady();

// The world's handles, for the body wrappers, the arena and the explosion.
dWorldID PhysicsWorldId();
dSpaceID PhysicsSpace();
dGeomID PhysicsReachRay();
dGeomID PhysicsOcclusionRay();
dGeomID PhysicsProbeSphere();

// Records of the last step (valid until the next step that runs).
const YContactRecord* ContactRecords();
int ContactRecordCount();
// Raised by every ball update, read and cleared by the step.
void SetBallMoved();
// Friction the contacts get now (tests).
double ContactFriction();
// Time collected and not yet stepped (tests).
float PhysicsStoredTime();

// Calls ODE's near callback for `geom` against every geom of `space`, descending into nested
// spaces, with geom always as the callback's first argument; ODE's category rule applies.
// Replaces dCollide(geom, space), which finds nothing in this ODE.
void CollideGeomWithSpace(dGeomID geom, dSpaceID space, void* data, dNearCallback* callback);
// dCollide of `geom` with everything in `space` (nested spaces included), writing at most `max`
// contacts (geom as g1) into out; returns the count.
int CollideGeomContacts(dGeomID geom, dSpaceID space, int max, dContactGeom* out);

// Test hook: called with the size of every step taken, or null.
extern void (*g_PhysicsStepObserver)(float step);
