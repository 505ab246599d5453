#include "world/blocks/splinter.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/block_material.h"

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

int liveSplinters = 0;

YVector Mul(const YVector& a, const YVector& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

YVector Rotate(const YMatrix& m, const YVector& v) {
    return {v.x * m.m[0] + v.y * m.m[4] + v.z * m.m[8], v.x * m.m[1] + v.y * m.m[5] + v.z * m.m[9],
            v.x * m.m[2] + v.y * m.m[6] + v.z * m.m[10]};
}

// Whether face f lies on the block's surface for the piece of corner `octant`: its normal points
// the way of the octant's corner sign.
bool OuterFace(int f, int octant) {
    const YVector& n = BOX_FACE_NORMALS[f];
    const YVector& c = BOX_CORNER_SIGNS[octant];
    return n.Dot(c) > 0.0f;
}

} // namespace

YSplinter::YSplinter(const YBlockType* type_, const YMatrix& blockMatrix, int octant_, const float splits_[8],
                     float life_, YRigidBody* blockBody)
    : type(type_), octant(octant_), life(life_), initialLife(life_) {
    ++liveSplinters;
    for (int j = 0; j < 8; ++j) splits[j] = splits_[j];
    splits[octant] = 1.0f;
    const YVector h = type->halfExtents;
    const YVector q = h * 0.5f;
    body.CreateBox(&q, false, true);
    const float m = type->mass * 0.0125f;
    const YVector inertia = YVector(q.y * q.y + q.z * q.z, q.x * q.x + q.z * q.z, q.x * q.x + q.y * q.y) * (m / 12.0f);
    body.SetMassDiagonal(m, &inertia, true);
    offset = Mul(BOX_CORNER_SIGNS[octant], h * 0.5f);
    Place(blockMatrix);
    if (blockBody) {
        const float speed = 7.0f + 6.0f * Unit() - 3.0f;
        YMatrix placed;
        body.GetMatrix(&placed);
        const YVector at(placed.m[12], placed.m[13], placed.m[14]);
        YVector out = at - YVector(blockMatrix.m[12], blockMatrix.m[13], blockMatrix.m[14]);
        const float len = std::sqrt(out.Dot(out));
        out = len > 1e-6f ? out * (1.0f / len) : YVector(0, 0, 1);
        YVector pointVel(0, 0, 0), angular(0, 0, 0);
        blockBody->GetPointVel(&at, &pointVel);
        blockBody->GetAngularVel(&angular);
        const YVector vel = out * speed + pointVel;
        body.SetLinearVel(&vel);
        body.SetAngularVel(&angular);
    }
    YVector dir = offset;
    const float len = std::sqrt(dir.Dot(dir));
    dir = len < 1e-6f ? YVector(0, 0, 0) : dir * (1.0f / len);
    const YVector jitter(0.25f * Unit() - 0.125f, 0.25f * Unit() - 0.125f, 0.25f * Unit() - 0.125f);
    const YVector force = (dir + jitter) * (m * 50.0f);
    body.AddForce(&force);
}

YSplinter::~YSplinter() { --liveSplinters; }

int YSplinter::LiveCount() { return liveSplinters; }

float YSplinter::Share() {
    if (liveSplinters <= SPLINTER_SHARE_FROM) return 1.0f;
    if (liveSplinters >= SPLINTER_LIMIT) return 0.0f;
    return static_cast<float>(SPLINTER_LIMIT - liveSplinters) /
           static_cast<float>(SPLINTER_LIMIT - SPLINTER_SHARE_FROM);
}

void YSplinter::Place(const YMatrix& m) {
    matrix = m;
    YMatrix at = m;
    const YVector o = Rotate(m, offset);
    at.m[12] += o.x;
    at.m[13] += o.y;
    at.m[14] += o.z;
    body.SetMatrix(&at);
}

void YSplinter::Update(float dt) {
    if (Dying()) return;
    life -= dt;
    const float f = life / initialLife;
    if (!(f >= 0.1f)) {
        ScheduleDeath();
        return;
    }
    body.GetMatrix(&matrix);
    const YVector o = Rotate(matrix, offset);
    matrix.m[12] -= o.x;
    matrix.m[13] -= o.y;
    matrix.m[14] -= o.z;
    if (!std::isfinite(matrix.m[12]) || !std::isfinite(matrix.m[13]) || !std::isfinite(matrix.m[14])) {
        Schedule(0.0f);
        return;
    }

    const YVector h = type->halfExtents;
    const YVector& ci = BOX_CORNER_SIGNS[octant];
    YVector local[8], world[8];
    for (int j = 0; j < 8; ++j) {
        const YVector& cj = BOX_CORNER_SIGNS[j];
        local[j] = Mul(h, ci + (cj - ci) * (splits[j] * f));
        world[j] = matrix.TransformPoint(local[j]);
    }
    const YBlockMaterial* mat = type->material;
    const float shade = mat->health <= 0.0f ? -1.0f : 0.0f;
    const YMatrix inverse = matrix.InverseAffine();
    const YVector camera = inverse.TransformPoint(g_Camera.Position());
    const YVector pieceCentre = Mul(h, ci) * 0.5f;
    bool lit[6];
    for (int fc = 0; fc < 6; ++fc) {
        const YVector n = Rotate(matrix, BOX_FACE_NORMALS[fc]);
        lit[fc] = g_Camera.lightDir.Dot(n) > 0.0f;
        const bool outer = OuterFace(fc, octant);
        YShader* shader = outer ? mat->shader : mat->inShader;
        const bool blended = shader && shader->IsBlended();
        const bool towards = FaceTowardsCamera(BOX_FACE_NORMALS[fc], pieceCentre, camera);
        if (!blended && !towards) continue;
        const int* k = BOX_FACE_CORNERS[fc];
        YVector2 uv[4];
        if (outer) {
            int ki = 0;
            for (int c = 0; c < 4; ++c) {
                if (k[c] == octant) ki = c;
            }
            for (int c = 0; c < 4; ++c) {
                const YVector2& a = BOX_QUAD_UV[ki];
                const YVector2& b = BOX_QUAD_UV[c];
                const float s = splits[k[c]] * f * 0.5f;
                uv[c] = YVector2(a.u + (b.u - a.u) * s, a.v + (b.v - a.v) * s);
            }
        } else {
            for (int c = 0; c < 4; ++c) uv[c] = YVector2(BOX_QUAD_UV[c].u * 0.5f, BOX_QUAD_UV[c].v * 0.5f);
        }
        BuildSplinterFace(AddBlockFace(), world[k[0]], world[k[1]], world[k[2]], world[k[3]], towards ? n : n * -0.5f,
                          uv, shader, shade);
    }
    if (ShadowsEnabled()) {
        for (const auto& e : BOX_EDGES) {
            if (lit[e[2]] != lit[e[3]]) AddShadowEdge(&world[e[0]], &world[e[1]], lit[e[2]]);
        }
    }
    const YVector half = h * (f * 0.5f);
    body.SetHalfSize(&half);
    offset = Mul(ci, h * (1.0f - f * 0.5f));
}
