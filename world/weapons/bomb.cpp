#include "world/weapons/bomb.h"

#include "render/mesh/mesh.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/blocks/block.h"
#include "world/effects/explosion.h"
#include "world/effects/world_sound.h"
#include "world/racket/racket.h"

namespace {

YThrownWeaponBuild BombBuild() {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\bomb.mes"), 1.0f);
    static YShader* shell = FindShader("bomb");
    return {.instance = instance,
            .shell = shell,
            .kind = TACKED_BOMB,
            .boneIndex = 0,
            .radius = 0.5f,
            .speed = 8.0f,
            .mass = 15.0f,
            .inertia = 0.015f};
}

} // namespace

YBomb::YBomb() : YThrownWeapon(BombBuild()) {}

YBomb::~YBomb() {
    if (!exploded && BlockEffectsEnabled) {
        static YSoundFx* sound = GetSoundFx("destroy_ball");
        static const float colour[4] = {1.0f, 0.7f, 0.2f, 1.0f};
        static const float sparkEnd[4] = {0.7f, 0.0f, 0.0f, 1.0f};
        const YVector p = Position();
        if (IsFinitePoint(p)) {
            YVector v;
            body.GetLinearVel(&v);
            SpawnBlast(&p, &v, 1.0f, 7, colour, sparkEnd);
            PlayWorldSound(sound, &p);
        }
    }
}

void YBomb::Release(bool byPlayer) {
    YRacketTacked::Release(byPlayer);
    if (g_Racket) g_Racket->OnBombThrown();
    throwTimer = THROW_TIME;
    fuse = FUSE;
}

void YBomb::Throw() { Launch(BombThrowDirection(g_Racket ? g_Racket->tilt : 0.0f)); }

void YBomb::Update(float dt) {
    YRacketTacked::Update(dt);
    if (throwTimer >= 0.0f) {
        if (throwTimer > 0.0f) {
            if (ThrowGoesOn(dt)) {
                if (g_Racket) g_Racket->AttachHeld(this);
            } else {
                Throw();
            }
        }
    } else {
        if (!FollowBody()) return;
        if (BurnFuse(dt)) Explode();
        const YVector p = Position();
        if (!exploded && releaseCooldown <= 0.0f && g_Racket && g_Racket->state == 0 && g_Racket->Touches(&p, 0.5f)) {
            if (g_Racket->frostTime > 0.0f) {
                Throw();
            } else {
                fuse = 0.0f;
                throwTimer = 0.0f;
                body.SetEnabled(false);
                body.SetGeomEnabled(false);
                g_Racket->TakeBomb(this);
            }
        }
    }
    if (IsFinitePoint(Position())) sparks.Emit(dt, world, 70.0f, 0.808f, 0.131f);
}

void YBomb::ShortenFuse() { fuse = CutFuse(fuse, 0.1f); }

void YBomb::Explode() {
    static YSoundFx* sound = GetSoundFx("bomb");
    Blast(5.0f, 1500.0f, 50, sound);
    exploded = true;
}
