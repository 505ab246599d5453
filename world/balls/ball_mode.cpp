#include "world/balls/ball_mode.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/mesh/mesh.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/balls/ball.h"
#include "world/balls/ball_mode_rules.h"
#include "world/balls/racket_hand.h"
#include "world/blocks/block_hits.h"
#include "world/effects/explosion.h"
#include "world/effects/world_sound.h"
#include "world/physics/racket_link.h"

namespace {

// What every mode of one index shares: the mesh instance, its shaders, its crown drawer and
// its kick sound, made on the first construction and kept until the process ends.
struct ModeShared {
    YMeshInstanceBase* instance = nullptr;
    YShader* shaders[2] = {};
    int shaderCount = 0;
    YSoundFx* kick = nullptr;
    YDrawBallCrown* crown = nullptr;
};

ModeShared& Shared(int index) {
    static ModeShared shared[BALL_MODE_COUNT];
    ModeShared& s = shared[index];
    if (!s.instance) {
        const YBallModeInfo& info = BallModeInfo(index);
        s.instance = new YMeshInstanceBase(GetMesh(std::string(info.mesh)), info.meshScale);
        for (std::string_view name : info.shaders)
            if (!name.empty()) s.shaders[s.shaderCount++] = FindShader(std::string(name));
        s.kick = GetSoundFx(std::string(info.kickSound));
        if (info.crownFactor > 0.0f)
            s.crown = new YDrawBallCrown(FindShader(std::string(info.crownShader)), info.crownFactor);
    }
    return s;
}

float Length(const YVector* v) { return std::sqrt(v->Dot(*v)); }

} // namespace

YBallMode::YBallMode(int index_) : YMeshInstanceRef(1), radius(BallModeInfo(index_).radius), index(index_) {
    ModeShared& s = Shared(index);
    instance = s.instance;
    for (int i = 0; i < s.shaderCount; ++i) shaders.push_back(s.shaders[i]);
    kickSound = s.kick;
    if (index == BALL_UNIVERSAL) shadowMode = SHADOW_NONE;
}

YBallMode::~YBallMode() = default;

void YBallMode::Draw() {
    ModeShared& s = Shared(index);
    if (s.crown && visible) {
        const YVector p = Position();
        QueueBlendedDraw(this, &p, s.crown);
    }
    YMeshInstanceRef::Draw();
}

void YBallMode::ApplyBody() {
    if (!owner) return;
    const YBallModeInfo& info = BallModeInfo(index);
    owner->SetupBody(info.mass, info.collisionKind, BALL_BODY_SPEED);
}

bool YBallMode::IsHeld() const { return owner && g_RacketHand && g_RacketHand->Holds(owner); }

void YBallMode::OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                          const YVector* position, const YVector* normal, float depth) {
    if (!other && normal->y > 0.9f && g_RacketLink) g_RacketLink->ShieldTick(10.0f);
}

bool YBallMode::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque, const YVector* position,
                           const YVector* normal) {
    return DamageSingle(block, Length(force), position, normal);
}

bool YBallMode::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                            const YVector* position, const YVector* normal) {
    return DamageSetItem(set, item, Length(force), position, normal);
}

void YBallMode::KickSound(const YVector* position, float volume) { PlayWorldSound(kickSound, position, volume); }

void YBallMode::SetMatrix(const YMatrix* matrix) {
    if (!owner) {
        SetTransform(matrix->m);
        return;
    }
    owner->SetTransform(matrix);
    const YVector still(0.0f, 0.0f, 0.0f);
    owner->body.SetLinearVel(&still);
}

YMatrix* YBallMode::GetMatrix(YMatrix* result) {
    *result = world;
    return result;
}

// ---- Super modes ----

bool YBallModeSuper::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque,
                                const YVector* position, const YVector* normal) {
    return DoomSingle(block);
}

bool YBallModeSuper::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                                 const YVector* position, const YVector* normal) {
    return DoomSetItem(set, item);
}

bool YBallExplosive::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque,
                                const YVector* position, const YVector* normal) {
    const bool doomed = YBallModeSuper::BumpSingle(block, force, torque, position, normal);
    if (doomed) Explode(position);
    return doomed;
}

bool YBallExplosive::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                                 const YVector* position, const YVector* normal) {
    const bool doomed = YBallModeSuper::BumpSetItem(set, item, force, torque, position, normal);
    if (doomed) Explode(position);
    return doomed;
}

void YBallExplosive::Explode(const YVector* position) {
    static YSoundFx* sound = GetSoundFx("grenade");
    SpawnExplosion(position, 2.75f, 500.0f, 25);
    PlayWorldSound(sound, position);
    if (owner && owner->mode == this) owner->SetMode(BALL_FIRE, owner->modeTime);
}

// ---- Generative ----

bool YBallGenerative::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque,
                                 const YVector* position, const YVector* normal) {
    const bool destroyed = YBallMode::BumpSingle(block, force, torque, position, normal);
    if (destroyed) SpawnSmallBall(position);
    return destroyed;
}

bool YBallGenerative::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                                  const YVector* position, const YVector* normal) {
    const bool destroyed = YBallMode::BumpSetItem(set, item, force, torque, position, normal);
    if (destroyed) SpawnSmallBall(position);
    return destroyed;
}

void YBallGenerative::SpawnSmallBall(const YVector* contact) {
    static YSoundFx* sound = GetSoundFx("small_ball");
    const YVector here = Position();
    YMatrix m;
    m.MatrixSetTranslation(here * 2.0f - *contact);
    YBall* ball = new YBall(BALL_SMALL);
    ball->SetTransform(&m);
    PlayWorldSound(sound, &here);
}

// ---- Universal ----

YBallUniversal::YBallUniversal() : YBallMode(BALL_UNIVERSAL), inner(CreateBallMode(BALL_NORMAL)) {}

YBallUniversal::~YBallUniversal() { delete inner; }

void YBallUniversal::ApplyBody() {
    inner->owner = owner;
    // The ball takes the inner mode's mass and kind; the radius and the listener stay the
    // universal mode's, which is the ball's mode.
    inner->ApplyBody();
}

void YBallUniversal::Update(float dt) {
    switchTimer -= dt;
    inner->SetTransform(world.m);
    inner->Update(dt);
}

bool YBallUniversal::BumpSingle(YBlockSingle* block, const YVector* force, const YVector* torque,
                                const YVector* position, const YVector* normal) {
    const bool r = inner->BumpSingle(block, force, torque, position, normal);
    AfterHit();
    return r;
}

bool YBallUniversal::BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector* torque,
                                 const YVector* position, const YVector* normal) {
    const bool r = inner->BumpSetItem(set, item, force, torque, position, normal);
    AfterHit();
    return r;
}

void YBallUniversal::SetMatrix(const YMatrix* matrix) {
    if (!owner) {
        SetTransform(matrix->m);
        inner->SetTransform(matrix->m);
        return;
    }
    YBallMode::SetMatrix(matrix);
}

void YBallUniversal::AfterHit() {
    const bool explosive = inner->index == BALL_EXPLOSIVE;
    const int k = UniversalNextInner(inner->index, &switchTimer, explosive ? 0 : plat::CrtRand());
    if (k != inner->index) SetInnerMode(k);
}

void YBallUniversal::SetInnerMode(int k) {
    delete inner;
    inner = CreateBallMode(k);
    inner->SetTransform(world.m);
    inner->owner = owner;
    ApplyBody();
}

// ---- The factory ----

YBallMode* CreateBallMode(int index) {
    switch (index) {
        case BALL_HEAVY: return new YBallMode(BALL_HEAVY);
        case BALL_PHANTOM: return new YBallPhantom;
        case BALL_FIRE: return new YBallFire;
        case BALL_EXPLOSIVE: return new YBallExplosive;
        case BALL_ELECTRO: return new YBallElectro;
        case BALL_GENERATIVE: return new YBallGenerative;
        case BALL_UNIVERSAL: return new YBallUniversal;
        case BALL_SMALL: return new YBallMode(BALL_SMALL);
        default: return new YBallMode(BALL_NORMAL);
    }
}
