#include "world/weapons/grenade.h"

#include <cmath>

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "render/mesh/mesh.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/effects/explosion.h"
#include "world/effects/world_sound.h"
#include "world/racket/racket.h"

namespace {

YMeshInstanceBase* GrenadeInstance() {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\grenade.mes"), 1.0f);
    return instance;
}

bool Finite(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

} // namespace

YGrenade::YGrenade(int count) : YMeshInstanceRef(1, GrenadeInstance()), body(0.25f, 0, 15.0f), grenadesLeft(count) {
    static YShader* shell = FindShader("grenade");
    static YShader* fuseShader = FindShader("bomb_fuse");
    shaders.push_back(shell);
    shaders.push_back(fuseShader);
    kind = TACKED_GRENADE;
    boneIndex = 2;
    body.Configure(0.25f, 0, 15.0f, this);
    const YVector inertia(0.000125f, 0.000125f, 0.000125f);
    body.SetMassDiagonal(0.5f, &inertia, false);
    YMatrix identity;
    identity.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    body.SetMatrix(&identity);
    body.SetEnabled(false);
    body.SetGeomEnabled(false);
}

YGrenade::~YGrenade() { body.listener = nullptr; }

void YGrenade::Release(bool keepSupply) {
    if (throwTimer != 0.0f) return;
    grenadesLeft = keepSupply ? grenadesLeft - 1 : 0;
    if (grenadesLeft < 0) grenadesLeft = 0;
    if (g_Racket) g_Racket->OnGrenadeThrown();
    fuse = FUSE;
    throwTimer = THROW_TIME;
}

void YGrenade::Update(float dt) {
    if (throwTimer >= 0.0f) {
        if (throwTimer <= 0.0f) return; // waiting in the hand
        throwTimer -= dt * (g_Racket ? g_Racket->ActionSpeed() : 1.0f);
        if (throwTimer > 0.0f) {
            if (g_Racket) {
                if (!g_Racket->held && grenadesLeft > 0 && g_Racket->state == 0) g_Racket->held = this;
                g_Racket->AttachHeld(this);
            }
            return;
        }
        throwTimer = -1.0f;
        body.SetEnabled(true);
        body.SetGeomEnabled(true);
        const float pitch = GetInit().CurrentGameMode().lowBall ? 10.0f : (g_Racket ? g_Racket->aimAngle : 0.0f);
        const YVector dir = GrenadeThrowDirection(g_Racket ? g_Racket->tilt : 0.0f, pitch);
        const YVector p = Position();
        body.Launch(&dir, &p);
        const float r = static_cast<float>(plat::CrtRand()) / 32767.0f;
        const YVector spin(0.0f, r * 10.0f - 5.0f, 0.0f);
        body.SetAngularVel(&spin);
        if (g_Racket && g_Racket->held == this) g_Racket->held = nullptr;
        if (grenadesLeft > 0 && g_Racket && g_Racket->state == 0) g_Racket->TakeGrenade(new YGrenade(grenadesLeft));
        return;
    }
    YMatrix m;
    body.GetMatrix(&m);
    const YVector p(m.m[12], m.m[13], m.m[14]);
    if (IsOutOfBounds(&p, 0.25f)) Schedule(UsualDelay());
    if (!Finite(p)) return;
    SetTransform(m.m);
    if (fuse > 0.0f) {
        fuse -= dt;
        if (fuse > 0.0f)
            sparks.Emit(dt, world, 50.0f, 0.45f, 0.074f);
        else
            Explode();
    }
}

void YGrenade::SetMatrix(const YMatrix* m) {
    body.SetMatrix(m);
    SetTransform(m->m);
}

YMatrix* YGrenade::GetMatrix(YMatrix* out) {
    *out = world;
    return out;
}

void YGrenade::OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                         const YVector* position, const YVector* normal, float depth) {
    if (other) return;
    if (normal->y < -0.9f) ShortenFuse();
    if (normal->y > 0.9f && g_Racket) g_Racket->ShieldTick(10.0f);
}

bool YGrenade::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                          const YVector* normal) {
    ShortenFuse();
    return false;
}

bool YGrenade::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                           const YVector* position, const YVector* normal) {
    ShortenFuse();
    return false;
}

void YGrenade::ShortenFuse() { fuse = CutFuse(fuse, 0.05f); }

void YGrenade::Explode() {
    static YSoundFx* sound = GetSoundFx("grenade");
    const YVector p = Position();
    SpawnExplosion(&p, 2.75f, 500.0f, 25);
    PlayWorldSound(sound, &p);
    Schedule(0.0f);
}
