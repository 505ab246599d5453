#include "world/weapons/thrown_weapon.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/shader.h"
#include "world/blocks/block.h"
#include "world/effects/explosion.h"
#include "world/effects/world_sound.h"
#include "world/racket/racket.h"

bool IsFinitePoint(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

YThrownWeapon::YThrownWeapon(const YThrownWeaponBuild& build)
    : YMeshInstanceRef(1, build.instance), body(build.radius, 0, build.speed) {
    static YShader* fuseShader = FindShader("bomb_fuse");
    shaders.push_back(build.shell);
    shaders.push_back(fuseShader);
    kind = build.kind;
    boneIndex = build.boneIndex;
    body.Configure(build.radius, 0, build.speed, this);
    const YVector inertia(build.inertia, build.inertia, build.inertia);
    body.SetMassDiagonal(build.mass, &inertia, false);
    YMatrix identity;
    identity.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    body.SetMatrix(&identity);
    body.SetEnabled(false);
    body.SetGeomEnabled(false);
}

YThrownWeapon::~YThrownWeapon() { body.listener = nullptr; }

void YThrownWeapon::SetMatrix(const YMatrix* m) {
    body.SetMatrix(m);
    SetTransform(m->m);
}

YMatrix* YThrownWeapon::GetMatrix(YMatrix* out) {
    *out = world;
    return out;
}

void YThrownWeapon::OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                              const YVector* position, const YVector* normal, float depth) {
    if (other) return;
    if (normal->y < -0.9f) ShortenFuse();
    if (normal->y > 0.9f && g_Racket) g_Racket->ShieldTick(10.0f);
}

bool YThrownWeapon::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque,
                               const YVector* position, const YVector* normal) {
    ShortenFuse();
    return false;
}

bool YThrownWeapon::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                                const YVector* position, const YVector* normal) {
    ShortenFuse();
    return false;
}

bool YThrownWeapon::ThrowGoesOn(float dt) {
    throwTimer -= dt * (g_Racket ? g_Racket->ActionSpeed() : 1.0f);
    return throwTimer > 0.0f;
}

void YThrownWeapon::Launch(const YVector& dir) {
    throwTimer = -1.0f;
    body.SetEnabled(true);
    body.SetGeomEnabled(true);
    const YVector p = Position();
    body.Launch(&dir, &p);
    const float r = static_cast<float>(plat::CrtRand()) / 32767.0f;
    const YVector spin(0.0f, r * 10.0f - 5.0f, 0.0f);
    body.SetAngularVel(&spin);
}

bool YThrownWeapon::FollowBody() {
    YMatrix m;
    body.GetMatrix(&m);
    const YVector p(m.m[12], m.m[13], m.m[14]);
    if (IsOutOfBounds(&p, body.GetRadius())) Schedule(UsualDelay());
    if (!IsFinitePoint(p)) return false;
    SetTransform(m.m);
    return true;
}

bool YThrownWeapon::BurnFuse(float dt) {
    if (!(fuse > 0.0f)) return false;
    fuse -= dt;
    return fuse <= 0.0f;
}

void YThrownWeapon::Blast(float radius, float strength, int sparkCount, YSoundFx* sound) {
    const YVector p = Position();
    SpawnExplosion(&p, radius, strength, sparkCount);
    PlayWorldSound(sound, &p);
    Schedule(0.0f);
}
