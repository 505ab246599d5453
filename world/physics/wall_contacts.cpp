#include "world/physics/wall_contacts.h"

#include "render/camera.h"
#include "render/render.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/physics/table_size.h"

YWallContactDraw g_WallContactDraw;

namespace {

std::vector<YWallContact>& List() {
    static std::vector<YWallContact> list = [] {
        std::vector<YWallContact> v;
        v.reserve(64);
        return v;
    }();
    return list;
}

float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

} // namespace

std::vector<YWallContact>& WallContacts() { return List(); }

void OnWallContact(const YVector* position, const YVector* normal) {
    if (!(position->z >= 0.0f)) return;
    static YSoundFx* sound = GetSoundFx("wall_stroke");
    const YVector still(0.0f, 0.0f, 0.0f);
    PlaySoundFx(sound, position, -1.0f, &still);
    List().push_back({*position, WALL_CONTACT_TIME, normal->x != 0.0f});
}

void UpdateWallContacts(float dt) {
    std::vector<YWallContact>& list = List();
    for (std::size_t i = 0; i < list.size();) {
        list[i].timer -= dt;
        if (list[i].timer > 0.0f) {
            ++i;
            continue;
        }
        list[i] = list.back();
        list.pop_back();
    }
    for (YWallContact& c : list) QueueBlendedDraw(&c, &c.position, &g_WallContactDraw);
}

void YWallContactDraw::Draw(void* item) {
    const YWallContact* c = static_cast<const YWallContact*>(item);
    const float t = c->timer / WALL_CONTACT_TIME;
    static YShader* shader = FindShader("split");
    g_Render->SetWorldMatrix(&g_Camera.view); // world space, whatever the drawer before left
    g_Render->SetShader(shader, true);
    YMaterial m;
    Set4Fields(m.emissive, 0.6f * t, 0.6f * t, t, t);
    g_Render->SetMaterial(&m, false);
    DrawWallContactQuad(&c->position, c->sideWall, 2.0f * (1.0f - t) + 0.5f);
}

bool WallContactQuad(const YVector* p, bool sideWall, float s, YTexVertex out[4]) {
    const float hw = g_TableSize.halfWidth;
    const float hd = g_TableSize.halfDepth;
    const float span = 2.0f * s;
    // Along the wall: a from a0 to a1 with u from u0 to u1; up: z from z0 to z1 with v from 1 to v0.
    float a0, a1, u0 = 0.0f, u1 = 1.0f;
    float plane;
    if (!sideWall) {
        plane = Clamp(p->y, 0.05f - hd, hd - 0.05f);
        a0 = p->x - s;
        a1 = p->x + s;
        if (a0 < -hw) {
            u0 = (-hw - a0) / span;
            a0 = -hw;
        }
        if (a1 > hw) {
            u1 = 1.0f - (a1 - hw) / span;
            a1 = hw;
        }
    } else {
        plane = Clamp(p->x, 0.05f - hw, hw - 0.05f);
        a0 = p->y - s;
        a1 = p->y + s;
        if (a1 > hd) {
            u1 = 1.0f - (a1 - hd) / span;
            a1 = hd;
        }
    }
    float z0 = p->z - s;
    const float z1 = p->z + s;
    float vBottom = 1.0f;
    if (z0 < 0.0f) {
        vBottom = 1.0f + z0 / span;
        z0 = 0.0f;
    }
    if (!(a1 > a0) || !(z1 > z0)) return false;
    auto corner = [&](float a, float z, float u, float v) {
        YTexVertex t;
        t.pos = sideWall ? YVector(plane, a, z) : YVector(a, plane, z);
        t.uv = YVector2(u, v);
        t.uv2 = YVector2(u, v);
        return t;
    };
    out[0] = corner(a0, z0, u0, vBottom);
    out[1] = corner(a1, z0, u1, vBottom);
    out[2] = corner(a1, z1, u1, 0.0f);
    out[3] = corner(a0, z1, u0, 0.0f);
    return true;
}

void DrawWallContactQuad(const YVector* position, bool sideWall, float halfSize) {
    YTexVertex quad[4];
    if (WallContactQuad(position, sideWall, halfSize, quad)) g_Render->DrawTexQuad(quad);
}
