#include "editor/editor_bonus_names.h"

#include <iterator>

#include "core/bonus_kind.h"

namespace {

struct Named {
    BonusKind kind;
    const char* name;
};

using K = BonusKind;

// In brackets: the kinds that put balls into play at once rather than fall.
constexpr Named NAMES[] = {
    {K::BallNormal, "Normal Ball"},
    {K::BallHeavy, "Heavy Ball"},
    {K::BallPhantom, "Through Ball"},
    {K::BallFire, "Fire Ball"},
    {K::BallExplosive, "Explosive Ball"},
    {K::BallElectro, "Electro Ball"},
    {K::BallGenerative, "Generative Ball"},
    {K::BallUniversal, "Universal Ball"},
    {K::Gloves, "Hand Ball"},
    {K::Boomer, "Boomerang"},
    {K::Bomb, "Bomb"},
    {K::Grenade, "Grenades"},
    {K::MinSpeedup, "Slow Ball"},
    {K::MaxSpeedup, "Quick Ball"},
    {K::Life, "Extra Life"},
    {K::Death, "Life Lose"},
    {K::Slumber, "Brake"},
    {K::Vivacity, "Energy"},
    {K::BackWall, "Shield"},
    {K::Frost, "Freeze"},
    {K::Slip, "Ice"},
    {K::Reset, "Reset"},
    {K::Random, "Random"},
    {K::Next, "Next Level"},
    {K::SmallBall, "[Small Ball]"},
    {K::FourSmallBalls, "[4-Small Ball]"},
    {K::NewBallNormal, "[Normal Ball]"},
    {K::NewBallHeavy, "[Heavy Ball]"},
    {K::NewBallPhantom, "[Through Ball]"},
    {K::NewBallFire, "[Fire Ball]"},
    {K::NewBallExplosive, "[Explosive Ball]"},
    {K::NewBallElectro, "[Electro Ball]"},
    {K::NewBallGenerative, "[Generative Ball]"},
    {K::NewBallUniversal, "[Universal Ball]"},
};

constexpr bool OneNamePerKindInOrder() {
    if (std::size(NAMES) != static_cast<std::size_t>(BONUS_KIND_COUNT)) return false;
    for (int k = 0; k < BONUS_KIND_COUNT; ++k) {
        if (NAMES[k].kind != BonusKindAt(k)) return false;
    }
    return true;
}
static_assert(OneNamePerKindInOrder(), "one name per bonus kind, in kind order");

} // namespace

const char* EditorBonusName(int kind) { return IsBonusKind(kind) ? NAMES[kind].name : ""; }
