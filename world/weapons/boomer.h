#pragma once
// The boomerang, handed to the racket by the Boomer bonus. It sits in the
// hero's hand until the player lets go, winds up for 0.2 s, then flies without
// a physics body along a looping path: out across the table bulging to one
// side, back on the other side past the racket, and round again. A collision
// box travelling with it pushes and damages what it touches (blocks take a
// ball's damage) and sends it onto a new path; the racket catches it when it
// comes back (a frozen hero turns it away), and it is deleted once it leaves
// the table.
#include "math/matrix.h"
#include "math/vector.h"
#include "render/mesh/mesh_instance.h"
#include "world/balls/racket_tacked.h"
#include "world/physics/bump_event.h"

constexpr int TACKED_BOOMER = 1;

class YBoomer : public YMeshInstanceRef, public YRacketTacked, public YBumpEvent {
public:
    static constexpr int PATH_POINTS = 40;    // four spline segments of ten points
    static constexpr float SPEED = 10.0f;     // units per second along the path
    static constexpr float SPIN = 1000.0f;    // degrees per second
    static constexpr float WIND_UP = 0.2f;    // seconds between the release and the flight
    static constexpr float MIN_HEIGHT = 2.0f; // lowest control point of a path
    static constexpr float CATCH_RADIUS = 0.6f;

    // At (0, -7, 3) with a path planned straight ahead.
    YBoomer();

    // The throw gesture, the wind-up and the "boomer" sound.
    void Release(bool byPlayer) override;
    void Update(float dt) override;
    // The drawable (and so the boomerang's place) takes m.
    void SetMatrix(const YMatrix* m) override;
    YMatrix* GetMatrix(YMatrix* out) override;
    // Blocks it touches take damage as from a normal ball.
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                    const YVector* normal) override;
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                     const YVector* position, const YVector* normal) override;

    // A new loop from the current position, heading along dir (its horizontal
    // part sets the side of the bulges). Five control points, heights kept
    // between MIN_HEIGHT and the table's ceiling at their depth, sampled as four
    // uniform cubic B-spline segments.
    void PlanPath(const YVector& dir);
    // Tangent, normal and binormal of the path at point k (at most PATH_POINTS -
    // 2).
    void ComputeFrame(int k);

    YVector Position() const { return {world.m[12], world.m[13], world.m[14]}; }

    YVector control[5];
    YVector path[PATH_POINTS];
    YVector tangent{1.0f, 0.0f, 0.0f};
    YVector frameNormal{0.0f, 1.0f, 0.0f};
    YVector binormal{0.0f, 0.0f, 1.0f};
    float spin = 0.0f;
    float launchTimer = 0.0f;
    int pathIndex = 1;

private:
    void Launch();
    void Fly(float dt);
};

// One uniform cubic B-spline segment over p0..p3 at t in 0..1.
YVector BSplinePoint(const YVector& p0, const YVector& p1, const YVector& p2, const YVector& p3, float t);
