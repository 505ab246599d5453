#pragma once
// The sound-effect recipes. Each draws into a silent sound of the catalogue's length; `variant`
// (0, 1, ...) and the seeded generator make the variants of an often-heard effect differ.
#include "tools/sfxgen/kit.h"

namespace sfx {

using Recipe = void (*)(Sound& s, dsp::Rng& rng, int variant);

// Block materials: a hit (stroke) and a break (destroy) each.
void DefStroke(Sound& s, dsp::Rng& rng, int variant);
void DefDestroy(Sound& s, dsp::Rng& rng, int variant);
void GlassStroke(Sound& s, dsp::Rng& rng, int variant);
void GlassDestroy(Sound& s, dsp::Rng& rng, int variant);
void WoodStroke(Sound& s, dsp::Rng& rng, int variant);
void WoodDestroy(Sound& s, dsp::Rng& rng, int variant);
void StoneStroke(Sound& s, dsp::Rng& rng, int variant);
void StoneDestroy(Sound& s, dsp::Rng& rng, int variant);
void MetalStroke(Sound& s, dsp::Rng& rng, int variant);
void MetalDestroy(Sound& s, dsp::Rng& rng, int variant);
void IceStroke(Sound& s, dsp::Rng& rng, int variant);
void IceDestroy(Sound& s, dsp::Rng& rng, int variant);
void RubberStroke(Sound& s, dsp::Rng& rng, int variant);
void RubberDestroy(Sound& s, dsp::Rng& rng, int variant);

// Balls: racket kicks per ball mode, the table wall, mode change, bursting, spawning.
void Kick(Sound& s, dsp::Rng& rng, int variant);
void KickHeavy(Sound& s, dsp::Rng& rng, int variant);
void KickFire(Sound& s, dsp::Rng& rng, int variant);
void KickElectro(Sound& s, dsp::Rng& rng, int variant);
void KickSmall(Sound& s, dsp::Rng& rng, int variant);
void WallStroke(Sound& s, dsp::Rng& rng, int variant);
void Mutation(Sound& s, dsp::Rng& rng, int variant);
void DestroyBall(Sound& s, dsp::Rng& rng, int variant);
void SmallBall(Sound& s, dsp::Rng& rng, int variant);

// Block specials: fire, water (steam), heavy, electro (lightning), teleport.
void Firing(Sound& s, dsp::Rng& rng, int variant);
void Psshh(Sound& s, dsp::Rng& rng, int variant);
void Heavy(Sound& s, dsp::Rng& rng, int variant);
void Lightning(Sound& s, dsp::Rng& rng, int variant);
void Teleport(Sound& s, dsp::Rng& rng, int variant);

// Weapons: explosions and the boomerang's throw.
void Bomb(Sound& s, dsp::Rng& rng, int variant);
void Grenade(Sound& s, dsp::Rng& rng, int variant);
void Boomer(Sound& s, dsp::Rng& rng, int variant);

// Game events: bonus catches, the hero's steps, a lost ball, game over.
void Bonus(Sound& s, dsp::Rng& rng, int variant);
void BonusBall(Sound& s, dsp::Rng& rng, int variant);
void BonusWeapon(Sound& s, dsp::Rng& rng, int variant);
void BonusLife(Sound& s, dsp::Rng& rng, int variant);
void BonusBad(Sound& s, dsp::Rng& rng, int variant);
void HeroStep(Sound& s, dsp::Rng& rng, int variant);
void BonusDeath(Sound& s, dsp::Rng& rng, int variant);
void GameOver(Sound& s, dsp::Rng& rng, int variant);

} // namespace sfx
