#include "tools/sfxgen/catalogue.h"

namespace sfx {

namespace {

// Each effect is levelled to the loudness of its kind (catalogue.h).
const Effect kEffects[] = {
    // block materials
    {"def_stroke", DefStroke, 0.3, kLoudHit, 3},
    {"def_destroy", DefDestroy, 1.0, kLoudBreak, 2},
    {"glass_stroke", GlassStroke, 0.8, kLoudHit, 3},
    {"glass_destroy", GlassDestroy, 1.1, kLoudBreak, 2},
    {"wood_stroke", WoodStroke, 0.3, kLoudHit, 3},
    {"wood_destroy", WoodDestroy, 1.0, kLoudBreak, 2},
    {"stone_stroke", StoneStroke, 0.3, kLoudHit, 3},
    {"stone_destroy", StoneDestroy, 1.2, kLoudBreak, 2},
    {"metal_stroke", MetalStroke, 1.1, kLoudHit, 3},
    {"metal_destroy", MetalDestroy, 1.5, kLoudBreak, 2},
    {"ice_stroke", IceStroke, 0.5, kLoudHit, 3},
    {"ice_destroy", IceDestroy, 1.0, kLoudBreak, 2},
    {"rubber_stroke", RubberStroke, 0.35, kLoudHit, 3},
    {"rubber_destroy", RubberDestroy, 0.6, kLoudBreak, 1},
    // balls
    {"kick", Kick, 0.3, kLoudHit, 3},
    {"kick_heavy", KickHeavy, 0.5, kLoudHit, 2},
    {"kick_fire", KickFire, 0.55, kLoudHit, 2},
    {"kick_electro", KickElectro, 0.5, kLoudHit, 2},
    {"kick_small", KickSmall, 0.2, kLoudHit, 2},
    {"wall_stroke", WallStroke, 0.25, kLoudHit, 3},
    {"mutation", Mutation, 0.8, kLoudEvent, 1},
    {"destroy_ball", DestroyBall, 0.6, kLoudBreak, 1},
    {"small_ball", SmallBall, 0.35, kLoudEvent, 1},
    // block specials
    {"firing", Firing, 0.9, kLoudEvent, 1},
    {"psshh", Psshh, 1.0, kLoudEvent, 1},
    {"heavy", Heavy, 0.9, kLoudEvent, 1},
    {"lightning", Lightning, 0.5, kLoudEvent, 2},
    {"teleport", Teleport, 0.75, kLoudEvent, 1},
    // weapons
    {"bomb", Bomb, 2.2, kLoudBlast, 1},
    {"grenade", Grenade, 1.3, kLoudBlast, 1},
    {"boomer", Boomer, 0.75, kLoudEvent, 1},
    // game events
    {"bonus", Bonus, 0.7, kLoudEvent, 1},
    {"bonus_ball", BonusBall, 0.6, kLoudEvent, 1},
    {"bonus_weapon", BonusWeapon, 0.5, kLoudEvent, 1},
    {"bonus_life", BonusLife, 1.0, kLoudEvent, 1},
    {"bonus_bad", BonusBad, 0.7, kLoudEvent, 1},
    {"hero_step", HeroStep, 0.15, kLoudStep, 3},
    {"bonus_death", BonusDeath, 1.1, kLoudEvent, 1},
    {"game_over", GameOver, 2.6, kLoudEvent, 1},
};

} // namespace

const Effect* Catalogue(std::size_t& count) {
    count = sizeof(kEffects) / sizeof(kEffects[0]);
    return kEffects;
}

} // namespace sfx
