#include "world/physics/arena.h"

#include "core/game_mode.h"
#include "core/init.h"
#include "world/physics/categories.h"
#include "world/physics/physics_world.h"

namespace {

dSpaceID arenaSpace = nullptr;

dGeomID StaticBox(float lx, float ly, float lz, float x, float y, float z, unsigned long category) {
    dGeomID g = dCreateBox(arenaSpace, lx, ly, lz);
    dGeomSetPosition(g, x, y, z);
    dGeomSetCategoryBits(g, category);
    return g;
}

dGeomID Plane(float a, float b, float c, float d, unsigned long category) {
    dGeomID g = dCreatePlane(arenaSpace, a, b, c, d);
    dGeomSetCategoryBits(g, category);
    dGeomSetCollideBits(g, 0);
    return g;
}

YVector ToVector(const dReal* v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

void AimRay(dGeomID ray, const YVector* origin, const YVector* direction, float length) {
    dGeomRaySet(ray, origin->x, origin->y, origin->z, direction->x, direction->y, direction->z);
    dGeomRaySetLength(ray, length);
}

} // namespace

void PhysicsSetArena(dGeomID* backWall, float width, float depth, float nearOffset) {
    if (arenaSpace) dSpaceDestroy(arenaSpace);
    arenaSpace = dSimpleSpaceCreate(PhysicsSpace());
    dSpaceSetCleanup(arenaSpace, 1);
    const float hx = width * 0.5f;
    const float hy = depth * 0.5f;

    StaticBox(width + 0.2f, depth + 0.2f, 4.0f, 0.0f, 0.0f, -1.98f, phys::CAT_FLOOR);
    StaticBox(width + 12.0f, depth + 12.0f, 6.0f, 0.0f, 0.0f, -6.656f, phys::CAT_FLOOR);
    if (GetInit().CurrentGameMode().perimeterBorder) {
        dGeomSetCollideBits(StaticBox(width, 0.5f, 1.25f, 0.0f, hy + 0.25f, 0.625f, phys::CAT_BORDER), 0);
        dGeomSetCollideBits(StaticBox(0.5f, depth, 1.25f, hx + 0.25f, 0.0f, 0.625f, phys::CAT_BORDER), 0);
        dGeomSetCollideBits(StaticBox(0.5f, depth, 1.25f, -(hx + 0.25f), 0.0f, 0.625f, phys::CAT_BORDER), 0);
    }
    Plane(0.0f, -1.0f, 0.0f, -hy, phys::CAT_WALL);
    Plane(1.0f, -0.05f, 0.0f, -hx, phys::CAT_WALL);
    Plane(-1.0f, -0.05f, 0.0f, -hx, phys::CAT_WALL);
    Plane(0.0f, 1.0f, 0.0f, nearOffset - hy, phys::CAT_BORDER);
    dGeomID back = Plane(0.0f, 1.0f, 0.0f, -hy, phys::CAT_BACK_WALL);
    dGeomDisable(back);
    if (backWall) *backWall = back;
}

void SetBackWallEnabled(dGeomID backWall, bool on) {
    if (!backWall) return;
    if (on)
        dGeomEnable(backWall);
    else
        dGeomDisable(backWall);
}

dSpaceID PhysicsArenaSpace() { return arenaSpace; }

void PhysicsArenaForget() { arenaSpace = nullptr; }

bool PhysicsRayCast(const YVector* origin, const YVector* direction, float length) {
    dGeomID ray = PhysicsOcclusionRay();
    AimRay(ray, origin, direction, length);
    dContactGeom contact;
    return CollideGeomContacts(ray, PhysicsSpace(), 1, &contact) > 0;
}

bool PhysicsRayReaches(const YVector* origin, const YVector* direction, float length, dGeomID target,
                       YVector* hitPosition) {
    dGeomID ray = PhysicsReachRay();
    AimRay(ray, origin, direction, length);
    dContactGeom contacts[10];
    const int n = CollideGeomContacts(ray, PhysicsSpace(), 10, contacts);
    if (n == 0) return target == nullptr;
    float nearest = 1000000.0f;
    dGeomID hit = nullptr;
    for (int i = 0; i < n; ++i) {
        dGeomID g = contacts[i].g2;
        const float depth = static_cast<float>(contacts[i].depth);
        if (depth < nearest && (dGeomGetCategoryBits(g) & phys::CAT_BLOCK)) {
            hit = g;
            nearest = depth;
            if (g == target && hitPosition) *hitPosition = ToVector(contacts[i].pos);
        }
    }
    return hit == target;
}
