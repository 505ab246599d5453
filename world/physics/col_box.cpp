#include "world/physics/col_box.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "world/physics/categories.h"
#include "world/physics/physics_world.h"
#include "world/physics/racket_link.h"
#include "world/physics/rigid_body.h"
#include "world/physics/wall_contacts.h"

YColBox::YColBox(float hx, float hy, float hz) : geom(dCreateBox(nullptr, 2.0f * hx, 2.0f * hy, 2.0f * hz)) {
    dGeomSetCategoryBits(geom, phys::CAT_COL_BOX);
    dGeomSetCollideBits(geom, phys::COLLIDE_COL_BOX);
}

YColBox::~YColBox() { dGeomDestroy(geom); }

bool YColBox::Collide(const YMatrix* placement, YVector* hitPosition, YBumpEvent* self) {
    const YVector centre(placement->m[12], placement->m[13], placement->m[14]);
    dGeomSetPosition(geom, centre.x, centre.y, centre.z);
    dMatrix3 r;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) r[row * 4 + col] = placement->m[col * 4 + row];
        r[row * 4 + 3] = 0.0;
    }
    dGeomSetRotation(geom, r);

    dContactGeom contact;
    if (CollideGeomContacts(geom, PhysicsSpace(), 1, &contact) == 0) return false;
    const YVector p(static_cast<float>(contact.pos[0]), static_cast<float>(contact.pos[1]),
                    static_cast<float>(contact.pos[2]));
    const YVector n(static_cast<float>(contact.normal[0]), static_cast<float>(contact.normal[1]),
                    static_cast<float>(contact.normal[2]));
    dGeomID g = contact.g2;
    const unsigned long category = dGeomGetCategoryBits(g);
    const bool wall = (category & (phys::CAT_WALL | phys::CAT_BACK_WALL)) != 0;
    if (wall) {
        if (!(g_RacketLink && g_RacketLink->HeldIsListener(self))) {
            OnWallContact(&p, &n);
            if (n.y > 0.9f && g_RacketLink) g_RacketLink->ShieldTick(10.0f);
        }
    } else if ((category & phys::CAT_BLOCK) && dGeomGetBody(g)) {
        YRigidBody* rb = YRigidBody::FromBody(dGeomGetBody(g));
        YVector d = p - centre;
        const float len = std::sqrt(d.Dot(d));
        const YVector dir = len < 0.01f ? n.Negate() : d * (1.0f / len);
        const YVector force = dir * 500.0f;
        rb->AddForceAtPos(&force, &p);
        if (rb->listener) {
            const YVector zero(0.0f, 0.0f, 0.0f);
            const YVector normal = n.Negate();
            rb->listener->OnContact(dGeomGetData(g), self, &force, &zero, &p, &normal, 0.0f);
        }
    }
    *hitPosition = p;
    if (wall) return true;
    static const float start[4] = {1.0f, 0.7f, 0.2f, 1.0f};
    static const float end[4] = {0.7f, 0.0f, 0.0f, 1.0f};
    SpawnSparks(&p, &n, 0.15f, 4 + plat::CrtRand() % 5, start, end);
    return true;
}
