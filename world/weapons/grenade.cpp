#include "world/weapons/grenade.h"

#include "core/init.h"
#include "render/mesh/mesh.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/racket/racket.h"

namespace {

YThrownWeaponBuild GrenadeBuild() {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\grenade.mes"), 1.0f);
    static YShader* shell = FindShader("grenade");
    return {.instance = instance,
            .shell = shell,
            .kind = TACKED_GRENADE,
            .boneIndex = 2,
            .radius = 0.25f,
            .speed = 15.0f,
            .mass = 0.5f,
            .inertia = 0.000125f};
}

} // namespace

YGrenade::YGrenade(int count) : YThrownWeapon(GrenadeBuild()), grenadesLeft(count) {}

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
        if (ThrowGoesOn(dt)) {
            if (g_Racket) {
                if (!g_Racket->held && grenadesLeft > 0 && g_Racket->state == 0) g_Racket->Hold(this);
                g_Racket->AttachHeld(this);
            }
            return;
        }
        const float pitch = GetInit().CurrentGameMode().lowBall ? 10.0f : (g_Racket ? g_Racket->aimAngle : 0.0f);
        Launch(GrenadeThrowDirection(g_Racket ? g_Racket->tilt : 0.0f, pitch));
        if (g_Racket) g_Racket->LetGo(this);
        if (grenadesLeft > 0 && g_Racket && g_Racket->state == 0) g_Racket->TakeGrenade(new YGrenade(grenadesLeft));
        return;
    }
    if (!FollowBody()) return;
    if (fuse > 0.0f) {
        if (BurnFuse(dt))
            Explode();
        else
            sparks.Emit(dt, world, 50.0f, 0.45f, 0.074f);
    }
}

void YGrenade::ShortenFuse() { fuse = CutFuse(fuse, 0.05f); }

void YGrenade::Explode() {
    static YSoundFx* sound = GetSoundFx("grenade");
    Blast(2.75f, 500.0f, 25, sound);
}
