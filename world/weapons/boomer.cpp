#include "world/weapons/boomer.h"

#include <algorithm>
#include <cmath>

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "render/mesh/mesh.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/blocks/block_hits.h"
#include "world/effects/world_sound.h"
#include "world/physics/col_box.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"

namespace {

YMeshInstanceBase* BoomerInstance() {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\boomer.mes"), 0.02f);
    return instance;
}

YColBox& BoomerBox() {
    static YColBox box(0.6f, 0.6f, 0.07f);
    return box;
}

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

float Len(const YVector& v) { return std::sqrt(v.Dot(v)); }

YVector RandomDirection() {
    for (;;) {
        YVector d(Unit() - 0.5f, Unit() - 0.5f, Unit() - 0.5f);
        const float l = Len(d);
        if (l > 1e-6f) return d * (1.0f / l);
    }
}

// v normalised, or a random direction when it is too short.
YVector UnitOr(const YVector& v) {
    const float l = Len(v);
    return l < 1e-6f ? RandomDirection() : v * (1.0f / l);
}

YVector Cross(const YVector& a, const YVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

YVector RowTimes(const YVector& v, const YMatrix3& r) {
    return {v.x * r.m[0] + v.y * r.m[3] + v.z * r.m[6], v.x * r.m[1] + v.y * r.m[4] + v.z * r.m[7],
            v.x * r.m[2] + v.y * r.m[5] + v.z * r.m[8]};
}

float Spread(float centre, float half) { return centre - half + 2.0f * half * Unit(); }

bool Finite(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

} // namespace

YVector BSplinePoint(const YVector& p0, const YVector& p1, const YVector& p2, const YVector& p3, float t) {
    const YVector a = (p0 + p1 * 4.0f + p2) * (1.0f / 6.0f);
    const YVector b = (p2 - p0) * 0.5f;
    const YVector c = (p0 - p1 * 2.0f + p2) * 0.5f;
    const YVector d = (p0 * -1.0f + p1 * 3.0f - p2 * 3.0f + p3) * (1.0f / 6.0f);
    return a + (b + (c + d * t) * t) * t;
}

YBoomer::YBoomer() : YMeshInstanceRef(1, BoomerInstance()) {
    static YShader* shader = FindShader("boomer");
    shaders.push_back(shader);
    kind = TACKED_BOOMER;
    world.MatrixSetTranslation(YVector(0.0f, -7.0f, 3.0f));
    BoomerBox();
    PlanPath(YVector(0.0f, 1.0f, 0.0f));
}

void YBoomer::Release(bool byPlayer) {
    YRacketTacked::Release(byPlayer);
    if (g_Racket) g_Racket->OnBoomerThrown();
    launchTimer = WIND_UP;
    static YSoundFx* sound = GetSoundFx("boomer");
    const YVector p = Position();
    PlayWorldSound(sound, &p);
}

void YBoomer::SetMatrix(const YMatrix* m) { SetTransform(m->m); }

YMatrix* YBoomer::GetMatrix(YMatrix* out) {
    *out = world;
    return out;
}

bool YBoomer::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                         const YVector* normal) {
    return DamageSingle(block, Len(*force), position, normal);
}

bool YBoomer::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                          const YVector* position, const YVector* normal) {
    return DamageSetItem(set, item, Len(*force), position, normal);
}

void YBoomer::PlanPath(const YVector& dir) {
    const float D = g_TableSize.depth;
    YVector* P = control;
    P[0] = Position();
    P[2] = P[0] + dir * (D * Spread(0.85f, 0.075f));
    YVector n(dir.x, dir.y, 0.0f);
    n = UnitOr(n);
    YMatrix3 rz;
    rz.SetRotationZ(-90.0f);
    const YVector s = RowTimes(n, rz);
    P[1] = (P[0] + P[2]) * 0.5f + s * (Len(P[2] - P[0]) * Spread(0.25f, 0.025f));
    P[4] = P[2] - dir * (D * Spread(1.7f, 0.15f));
    P[3] = (P[2] + P[4]) * 0.5f - s * (Len(P[4] - P[2]) * Spread(0.25f, 0.025f));
    for (YVector& p : control) {
        const float u = 0.5f - p.y / D;
        const float hmax = (1.0f - u * u) * D * 0.5f;
        if (p.z < MIN_HEIGHT) p.z = hmax * 0.5f - hmax * 0.125f + hmax * 0.25f * Unit();
        p.z = std::max(std::min(p.z, hmax), MIN_HEIGHT);
    }
    const YVector segments[4][4] = {
        {P[0], P[0], P[1], P[2]}, {P[0], P[1], P[2], P[3]}, {P[1], P[2], P[3], P[4]}, {P[2], P[3], P[4], P[4]}};
    for (int s4 = 0; s4 < 4; ++s4) {
        const YVector* q = segments[s4];
        for (int i = 0; i < 10; ++i) path[s4 * 10 + i] = BSplinePoint(q[0], q[1], q[2], q[3], 0.1f * i);
    }
    pathIndex = 1;
    ComputeFrame(1);
}

void YBoomer::ComputeFrame(int k) {
    k = std::min(std::max(k, 1), PATH_POINTS - 2);
    const YVector a = path[k] - path[k - 1];
    const YVector b = path[k + 1] - path[k];
    frameNormal = UnitOr(b - a);
    binormal = UnitOr(Cross(a + b, frameNormal));
    tangent = UnitOr(Cross(frameNormal, binormal));
}

void YBoomer::Launch() {
    launchTimer = 0.0f;
    const float aim = g_Racket ? g_Racket->tilt : 0.0f;
    float elevation = g_Racket ? g_Racket->aimAngle : 15.0f;
    if (GetInit().CurrentGameMode().lowBall) elevation = 5.0f;
    YMatrix3 rz, rx;
    rz.SetRotationZ(aim);
    rx.SetRotationX(elevation);
    const YVector dir = RowTimes(RowTimes(YVector(0.0f, 1.0f, 0.0f), rz), rx);
    PlanPath(dir);
}

void YBoomer::Update(float dt) {
    YRacketTacked::Update(dt);
    if (launchTimer > 0.0f) {
        launchTimer -= dt * (g_Racket ? g_Racket->speedFactor : 1.0f);
        if (launchTimer > 0.0f) {
            if (g_Racket) g_Racket->AttachHeld(this);
        } else {
            Launch();
        }
        return;
    }
    if (g_Racket && g_Racket->held == this) return;
    Fly(dt);
}

void YBoomer::Fly(float dt) {
    YVector position = Position();
    if (releaseCooldown <= 0.0f && g_Racket && g_Racket->state == 0 && g_Racket->Touches(&position, CATCH_RADIUS)) {
        if (g_Racket->frostTime > 0.0f) {
            const YVector away(position.x - g_Racket->posX, position.y - g_Racket->posY, 0.0f);
            PlanPath(UnitOr(away));
        } else {
            g_Racket->TakeBoomer(this);
            return;
        }
    }
    if (IsOutOfBounds(&position, 5.0f)) Schedule(UsualDelay());
    if (!Finite(position)) return;

    // Along the path by the distance of this frame; a new loop starts at its end.
    float remaining = SPEED * dt;
    YVector dirn(0.0f, 1.0f, 0.0f);
    for (int guard = 0; guard < 4 * PATH_POINTS; ++guard) {
        const YVector v = path[pathIndex] - position;
        const float L = Len(v);
        dirn = L < 1e-6f ? RandomDirection() : v * (1.0f / L);
        if (remaining < L) break;
        remaining -= L;
        position = path[pathIndex];
        ++pathIndex;
        if (pathIndex < PATH_POINTS) {
            ComputeFrame(pathIndex);
        } else {
            world.m[12] = position.x;
            world.m[13] = position.y;
            world.m[14] = position.z;
            PlanPath(dirn);
        }
    }
    position = position + dirn * remaining;

    // The frame as the rotation, spun about the boomerang's own axis.
    YMatrix frame;
    frame.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    frame.m[0] = tangent.x, frame.m[4] = tangent.y, frame.m[8] = tangent.z;
    frame.m[1] = frameNormal.x, frame.m[5] = frameNormal.y, frame.m[9] = frameNormal.z;
    frame.m[2] = binormal.x, frame.m[6] = binormal.y, frame.m[10] = binormal.z;
    spin += dt * SPIN;
    while (spin > 360.0f) spin -= 360.0f;
    YMatrix turn;
    turn.SetRotationZ(spin);
    YMatrix m = frame * turn;
    m.m[12] = position.x;
    m.m[13] = position.y;
    m.m[14] = position.z;

    YVector hit;
    if (BoomerBox().Collide(&m, &hit, this)) {
        const YVector mdir = UnitOr(position - hit);
        const float q = 2.0f * mdir.Dot(dirn);
        if (q < 0.0f) {
            YVector r = UnitOr(dirn - mdir * q);
            if (std::fabs(r.z) > 0.7f) {
                r.z *= 0.5f;
                r = UnitOr(r);
            }
            world.m[12] = position.x;
            world.m[13] = position.y;
            world.m[14] = position.z;
            PlanPath(r);
        }
    }
    SetTransform(m.m);
}
