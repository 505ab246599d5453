#include "world/bonus/bonus_effects.h"

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_bursts.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"
#include "world/weapons/bomb.h"
#include "world/weapons/boomer.h"
#include "world/weapons/grenade.h"

namespace {

float Timeout(BonusKind kind) { return BonusConfig(kind).timeout; }

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

} // namespace

void YBonusBall::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->SetBallModeAll(BonusKindIndex(kind), Timeout(kind));
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusGloves::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->StartGloves(Timeout(kind));
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusBoomer::Apply(const YVector* caughtAt) {
    if (g_Racket) {
        g_Racket->ReleaseTacked(false);
        YBoomer* boomer = new YBoomer();
        g_Racket->Hold(boomer);
        g_Racket->AttachHeld(boomer);
    }
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusBomb::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->TakeBomb(new YBomb());
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusGrenade::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->TakeGrenade(new YGrenade(5));
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusMinSpeedup::Apply(const YVector* caughtAt) {
    g_PhysicsWorld.ResetBallSpeed();
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusMaxSpeedup::Apply(const YVector* caughtAt) {
    g_PhysicsWorld.MaxBallSpeed();
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusLife::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->GainLife();
    SpawnBonusLifeBurst();
}

void YBonusDeath::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->LoseLife();
    SpawnBonusDeathBurst();
}

void YBonusSlumber::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->StartSlumber(Timeout(kind));
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusVivacity::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->StartVivacity(Timeout(kind));
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusBackWall::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->StartShield(Timeout(kind));
    SpawnBonusCatchSparks(caughtAt);
}

void YBonusFrost::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->StartFrost(Timeout(kind));
    SpawnBonusColdSparks(caughtAt);
}

void YBonusSlip::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->StartSlip(Timeout(kind));
    SpawnBonusColdSparks(caughtAt);
}

void YBonusReset::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->ClearEffects();
    SpawnBonusCatchSparks(caughtAt);
}

std::optional<BonusKind> DrawRandomBonusKind() {
    // Random and the kinds after it are never drawn.
    constexpr int DRAWN_KINDS = BonusKindIndex(BonusKind::Random);
    const std::vector<float>& probabilities = GetInit().CurrentGameMode().probabilities;
    auto allowed = [&](int k) { return static_cast<std::size_t>(k) < probabilities.size() && probabilities[k] > 0.0f; };
    bool any = false;
    for (int k = 0; k < DRAWN_KINDS && !any; ++k) any = allowed(k);
    if (!any) return std::nullopt;
    int k = 0;
    for (int draw = 0; draw < RANDOM_BONUS_DRAWS; ++draw) {
        k = plat::CrtRand() % DRAWN_KINDS;
        if (allowed(k)) return BonusKindAt(k);
    }
    while (!allowed(k)) k = (k + 1) % DRAWN_KINDS;
    return BonusKindAt(k);
}

void YBonusRandom::Apply(const YVector* caughtAt) {
    const std::optional<BonusKind> k = DrawRandomBonusKind();
    if (!k) return;
    YBonusType* drawn = CreateBonusType(*k);
    drawn->Apply(caughtAt);
    kind = drawn->kind;
    sound = drawn->sound;
    delete drawn;
}

void YBonusNext::Apply(const YVector* caughtAt) {
    if (g_Racket) g_Racket->LevelComplete();
    SpawnBonusCatchSparks(caughtAt);
}

void DropNextBonus() {
    YBonusType* type = new YBonusNext();
    const YVector velocity(Unit() - 0.5f, Unit() - 0.5f, Unit() - 0.5f);
    YVector p;
    p.x = g_TableSize.width / 4.0f * (Unit() - 0.5f);
    p.y = g_TableSize.depth / 4.0f * (Unit() + 0.5f);
    p.z = 20.0f - 2.5f + 5.0f * Unit();
    YMatrix at;
    at.SetRotationX(90.0f);
    at.m[12] = p.x;
    at.m[13] = p.y;
    at.m[14] = p.z;
    new YBonus(type, at, velocity);
}
