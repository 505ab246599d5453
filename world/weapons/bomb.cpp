#include "world/weapons/bomb.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/mesh/mesh.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/blocks/block.h"
#include "world/effects/explosion.h"
#include "world/effects/world_sound.h"
#include "world/racket/racket.h"

namespace {

YMeshInstanceBase* BombInstance() {
    static YMeshInstanceBase* instance = new YMeshInstanceBase(GetMesh("mesh\\bomb.mes"), 1.0f);
    return instance;
}

bool Finite(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

} // namespace

YBomb::YBomb() : YMeshInstanceRef(1, BombInstance()), body(0.5f, 0, 8.0f) {
    static YShader* shell = FindShader("bomb");
    static YShader* fuseShader = FindShader("bomb_fuse");
    shaders.push_back(shell);
    shaders.push_back(fuseShader);
    kind = TACKED_BOMB;
    boneIndex = 0;
    body.Configure(0.5f, 0, 8.0f, this);
    const YVector inertia(0.015f, 0.015f, 0.015f);
    body.SetMassDiagonal(15.0f, &inertia, false);
    YMatrix identity;
    identity.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
    body.SetMatrix(&identity);
    body.SetEnabled(false);
    body.SetGeomEnabled(false);
}

YBomb::~YBomb() {
    if (!exploded && BlockEffectsEnabled) {
        static YSoundFx* sound = GetSoundFx("destroy_ball");
        static const float colour[4] = {1.0f, 0.7f, 0.2f, 1.0f};
        static const float sparkEnd[4] = {0.7f, 0.0f, 0.0f, 1.0f};
        const YVector p = Position();
        if (Finite(p)) {
            YVector v;
            body.GetLinearVel(&v);
            SpawnBlast(&p, &v, 1.0f, 7, colour, sparkEnd);
            PlayWorldSound(sound, &p);
        }
    }
    body.listener = nullptr;
}

void YBomb::Release(bool byPlayer) {
    YRacketTacked::Release(byPlayer);
    if (g_Racket) g_Racket->OnBombThrown();
    throwTimer = THROW_TIME;
    fuse = FUSE;
}

void YBomb::Throw() {
    throwTimer = -1.0f;
    body.SetEnabled(true);
    body.SetGeomEnabled(true);
    const YVector dir = BombThrowDirection(g_Racket ? g_Racket->tilt : 0.0f);
    const YVector p = Position();
    body.Launch(&dir, &p);
    const float r = static_cast<float>(plat::CrtRand()) / 32767.0f;
    const YVector spin(0.0f, r * 10.0f - 5.0f, 0.0f);
    body.SetAngularVel(&spin);
}

void YBomb::Update(float dt) {
    YRacketTacked::Update(dt);
    if (throwTimer >= 0.0f) {
        if (throwTimer > 0.0f) {
            throwTimer -= dt * (g_Racket ? g_Racket->ActionSpeed() : 1.0f);
            if (throwTimer > 0.0f) {
                if (g_Racket) g_Racket->AttachHeld(this);
            } else {
                Throw();
            }
        }
    } else {
        YMatrix m;
        body.GetMatrix(&m);
        const YVector p(m.m[12], m.m[13], m.m[14]);
        if (IsOutOfBounds(&p, 0.5f)) Schedule(UsualDelay());
        if (!Finite(p)) return;
        SetTransform(m.m);
        if (fuse > 0.0f) {
            fuse -= dt;
            if (fuse <= 0.0f) Explode();
        }
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
    if (Finite(Position())) sparks.Emit(dt, world, 70.0f, 0.808f, 0.131f);
}

void YBomb::SetMatrix(const YMatrix* m) {
    body.SetMatrix(m);
    SetTransform(m->m);
}

YMatrix* YBomb::GetMatrix(YMatrix* out) {
    *out = world;
    return out;
}

void YBomb::OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                      const YVector* position, const YVector* normal, float depth) {
    if (other) return;
    if (normal->y < -0.9f) ShortenFuse();
    if (normal->y > 0.9f && g_Racket) g_Racket->ShieldTick(10.0f);
}

bool YBomb::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                       const YVector* normal) {
    ShortenFuse();
    return false;
}

bool YBomb::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                        const YVector* position, const YVector* normal) {
    ShortenFuse();
    return false;
}

void YBomb::ShortenFuse() { fuse = CutFuse(fuse, 0.1f); }

void YBomb::Explode() {
    static YSoundFx* sound = GetSoundFx("bomb");
    const YVector p = Position();
    SpawnExplosion(&p, 5.0f, 1500.0f, 50);
    PlayWorldSound(sound, &p);
    Schedule(0.0f);
    exploded = true;
}
