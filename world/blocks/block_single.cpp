#include "world/blocks/block_single.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/scene/particles.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_special.h"
#include "world/blocks/bonus_builder.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/table/table.h"

namespace {

YVector Rotate(const YMatrix& m, const YVector& v) {
    return {v.x * m.m[0] + v.y * m.m[4] + v.z * m.m[8], v.x * m.m[1] + v.y * m.m[5] + v.z * m.m[9],
            v.x * m.m[2] + v.y * m.m[6] + v.z * m.m[10]};
}

YVector Mul(const YVector& a, const YVector& b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

bool Finite(const YMatrix& m) { return std::isfinite(m.m[12]) && std::isfinite(m.m[13]) && std::isfinite(m.m[14]); }

} // namespace

YBlockSingle::YBlockSingle(const YBlockType* type_, YBonusBuilder* bonus_, const YMatrix& world)
    : bonus(bonus_),
      body(&type_->halfExtents, type_->material->shader && type_->material->shader->IsBlended()),
      type(type_),
      health(type_->health) {
    bodyMass = body.SetMassDiagonal(type->mass, &type->inertia, true);
    Place(world);
    body.listener = this;
    if (type->material->special && type->material->special->create) special = type->material->special->create();
}

YBlockSingle::~YBlockSingle() {
    if (BlockEffectsEnabled && Finite(matrix)) {
        SpawnBlockDebris(type, matrix, &body);
        const YVector pos = GetPosition();
        if (bonus && BlockOnTable(pos)) {
            YVector vel(0, 0, 0);
            body.GetLinearVel(&vel);
            bonus->Run(&matrix, &vel);
        }
        ScoreDestroyedBlock(type, pos);
    }
    delete bonus;
    delete special;
    body.listener = nullptr;
}

void YBlockSingle::Place(const YMatrix& m) {
    matrix = m;
    inverse = m.InverseAffine();
    body.SetMatrix(&m);
    shapeKept = false;
}

void YBlockSingle::Reshape() {
    inverse = matrix.InverseAffine();
    const YVector& h = type->halfExtents;
    for (int i = 0; i < 8; ++i) corners[i] = matrix.TransformPoint(Mul(BOX_CORNER_SIGNS[i], h));
    for (int f = 0; f < 6; ++f) normals[f] = Rotate(matrix, BOX_FACE_NORMALS[f]);
    shadow.Invalidate();
    shapeKept = true;
}

void YBlockSingle::Update(float dt) {
    // A disabled body has not moved since its placement was read: nothing to read or rebuild.
    if (!shapeKept || body.IsEnabled()) {
        YMatrix now;
        body.GetMatrix(&now);
        if (!Finite(now)) {
            matrix = now;
            shapeKept = false;
            Schedule(0.0f);
            return;
        }
        if (!shapeKept || std::memcmp(now.m, matrix.m, sizeof now.m) != 0) {
            matrix = now;
            Reshape();
        }
    }
    const YVector camera = inverse.TransformPoint(g_Camera.Position());
    const float shade = health >= 0.0f && type->health > 0.0f ? health / type->health : -1.0f;
    YShader* shader = type->material->shader;
    const bool blended = shader && shader->IsBlended();
    for (int f = 0; f < 6; ++f) {
        const YVector& n = normals[f];
        const bool towards = FaceTowardsCamera(BOX_FACE_NORMALS[f], YVector(0, 0, 0), camera);
        if (!towards && !blended) continue;
        const int* k = BOX_FACE_CORNERS[f];
        BuildBlockFace(AddBlockFace(), corners[k[0]], corners[k[1]], corners[k[2]], corners[k[3]],
                       towards ? n : n * -0.5f, shader, shade, textureOffsets);
    }
    if (blended && bonus) bonus->Draw(&matrix);
    if (special) special->Update(dt, this);
    if (health > 0.0f) ++g_BlockWorld.blocksLeft;
    if (ShadowsEnabled()) {
        // The silhouette: the edges between a face the light falls on and one it does not.
        const YVector& light = g_Camera.lightDir;
        if (!shadow.Holds(light, g_ShadowVolume.planeHeight)) {
            bool lit[6];
            for (int f = 0; f < 6; ++f) lit[f] = light.Dot(normals[f]) > 0.0f;
            shadow.Rebuild(light, g_ShadowVolume.planeHeight);
            for (const auto& e : BOX_EDGES)
                if (lit[e[2]] != lit[e[3]]) shadow.AddEdge(corners[e[0]], corners[e[1]], lit[e[2]]);
        }
        shadow.Emit();
    }
    if (Dying()) return;
    int inside = 0;
    for (const YVector& c : corners) {
        if (!IsOutOfBounds(&c, 0.0f)) ++inside;
        if (inside > 3) {
            if (health > 0.0f) ++g_BlockWorld.blocksInPlay;
            return;
        }
    }
    if (inside == 0 && !Dying()) Schedule(0.55f + 0.45f * static_cast<float>(plat::CrtRand()) / 32767.0f - 0.225f);
}

YBlock* YBlockSingle::ReachTest(uint32_t, const YVector& from, float maxDistance) {
    if (targeted || health < 0.0f) return nullptr;
    YVector d = GetPosition() - from;
    const float len = std::sqrt(d.Dot(d));
    if (!(len >= 1e-6f) || len > maxDistance) return nullptr;
    d = d * (1.0f / len);
    YVector hit;
    if (!PhysicsRayReaches(&from, &d, len, body.geom, &hit)) return nullptr;
    const YVector back = d.Negate();
    const float from4[4] = {0.5f, 0.5f, 1, 1}, to4[4] = {0.3f, 0.3f, 0.7f, 1};
    SpawnSparks(&hit, &back, 0.3f, 10, from4, to4);
    return this;
}

void YBlockSingle::OnContact(void*, YBumpEvent* other, const YVector* force, const YVector* torque,
                             const YVector* position, const YVector* normal, float) {
    if (special && !special->Hit(other, this)) return;
    if (other == this) {
        Damage(std::sqrt(force->Dot(*force)), *position);
    } else if (other) {
        other->BumpSingle(this, force, torque, position, normal);
    }
}

bool YBlockSingle::Damage(float s, const YVector& p) {
    const float volume = StrokeVolume(s, bodyMass);
    const YVector still(0, 0, 0);
    if (volume >= 0.1f) PlaySoundFx(type->material->soundStroke, &p, volume, &still);
    if (Dying()) return false;
    if (health > 0.0f) {
        health -= s;
        if (health <= 0.0f) {
            health = 0.0f;
            ScheduleDeath();
            return true;
        }
    }
    SpawnDamagePopup(p, s);
    return false;
}

void GetSingleBlocksBounds(float& minX, float& maxX, float& minZ) {
    for (YBlock* b : g_BlockWorld.blocks) {
        auto* s = dynamic_cast<YBlockSingle*>(b);
        if (!s) continue;
        for (const YVector& sign : BOX_CORNER_SIGNS) {
            const YVector c = s->matrix.TransformPoint(Mul(sign, s->type->halfExtents));
            minX = std::min(minX, c.x);
            maxX = std::max(maxX, c.x);
            minZ = std::min(minZ, c.z);
        }
    }
}
