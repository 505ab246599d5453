#include "world/effects/explosion.h"

#include <cmath>
#include <vector>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "world/physics/categories.h"
#include "world/physics/physics_world.h"
#include "world/physics/rigid_body.h"
#include "world/table/table.h"

namespace {

constexpr int MAX_BLAST_CONTACTS = 200;
dContactGeom blastContacts[MAX_BLAST_CONTACTS];
int blastContactCount = 0;

float Unit() { return plat::CrtRand() / 32767.0f; }

// Makes room for one more burn decal while the table holds BLAST_DECAL_LIMIT of them: the one
// furthest through its life goes (the decals are faded blasts of earlier explosions).
void MakeDecalRoom(YTable& table) {
    std::vector<YTableDecal>& decals = table.decals;
    while (decals.size() >= BLAST_DECAL_LIMIT) {
        std::size_t oldest = 0;
        for (std::size_t i = 1; i < decals.size(); ++i)
            if (decals[i].age / decals[i].lifetime > decals[oldest].age / decals[oldest].lifetime) oldest = i;
        decals[oldest] = decals.back();
        decals.pop_back();
    }
}

YVector RandomDirection() {
    for (;;) {
        YVector v(Unit() - 0.5f, Unit() - 0.5f, Unit() - 0.5f);
        const float len = std::sqrt(v.Dot(v));
        if (len > 1e-6f) return v * (1.0f / len);
    }
}

YVector ToVector(const dReal* v) {
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

void PushBodies(const YVector* centre, float radius, float strength) {
    dGeomID probe = PhysicsProbeSphere();
    if (!probe) return;
    dGeomSphereSetRadius(probe, radius);
    dGeomSetPosition(probe, centre->x, centre->y, centre->z);
    blastContactCount = CollideGeomContacts(probe, PhysicsSpace(), MAX_BLAST_CONTACTS, blastContacts);

    void (*previousHook)(dGeomID) = geomDestroyHook;
    geomDestroyHook = &ForgetBlastGeom;
    const YVector zero(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < blastContactCount; ++i) {
        const dContactGeom& c = blastContacts[i];
        dGeomID g = c.g2;
        if (!g) continue;
        if (!(dGeomGetCategoryBits(g) & (phys::CAT_BLOCK | phys::CAT_BALL))) continue;
        dBodyID body = dGeomGetBody(g);
        if (!body) continue;
        YRigidBody* rb = YRigidBody::FromBody(body);
        const YVector position = ToVector(c.pos);
        const YVector normal = ToVector(c.normal);
        const YVector d = position - *centre;
        const float dist = std::sqrt(d.Dot(d));
        const YVector dir = dist < 0.01f ? normal.Negate() : d * (1.0f / dist);
        if (!(dist < radius)) continue;
        const float f = 1.0f - dist / radius;
        const YVector force = dir * (f * f * strength);
        rb->AddForceAtPos(&force, &position);
        if (rb->listener) {
            const YVector away = normal.Negate();
            rb->listener->OnContact(dGeomGetData(g), rb->listener, &force, &zero, &position, &away, 0.0f);
        }
    }
    geomDestroyHook = previousHook;
    blastContactCount = 0;
}

} // namespace

void ForgetBlastGeom(dGeomID geom) {
    for (int i = 0; i < blastContactCount; ++i)
        if (blastContacts[i].g2 == geom) blastContacts[i].g2 = nullptr;
}

void SpawnExplosion(const YVector* centre, float radius, float strength, int sparkCount) {
    if (PhysicsReady()) PushBodies(centre, radius, strength);

    static YShader* blast = FindShader("blast");
    static YShader* spark = FindShader("spark");
    static YShader* wave = FindShader("blast_wave");
    static const float fireStart[4] = {1.0f, 0.7f, 0.2f, 1.0f};
    static const float fireEnd[4] = {1.0f, 0.3f, 0.0f, 0.05f};
    static const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const float waveEnd[4] = {1.0f, 0.1f, 0.0f, 0.0f};
    static const float sparkEnd[4] = {0.7f, 0.0f, 0.0f, 1.0f};
    const YVector still(0.0f, 0.0f, 0.0f);
    const float size = radius * 1.5f;

    g_ParticleSystem.Emit(0.75f, 1.0f, size, centre, &still, -1.0f, nullptr, blast, fireStart, fireEnd);
    if (g_Table) {
        MakeDecalRoom(*g_Table);
        g_Table->AddDecal(0.75f, 1.0f, size, centre, blast, fireStart, fireEnd);
        MakeDecalRoom(*g_Table);
        g_Table->AddDecal(1.0f, 1.0f, size, centre, wave, white, waveEnd);
    }
    for (int i = 0; i < sparkCount; ++i) {
        const YVector dir = RandomDirection();
        const float life = 1.5f + 0.25f * Unit() - 0.125f;
        const float speed = 1.5f * radius + 2.0f + Unit() - 0.5f;
        const YVector velocity = dir * (speed / life);
        g_ParticleSystem.Emit(life, 0.5f, 0.2f, centre, &velocity, 0.75f, &ParticleGravity, spark, fireStart, sparkEnd);
    }
}
