#include "world/bonus/bonus_kinds.h"

#include "world/balls/ball_mode_info.h"
#include "world/bonus/bonus_builders.h"
#include "world/bonus/bonus_effects.h"

namespace {

// A falling bonus of type T.
template <class T>
YBonusType* Make() {
    return new T();
}

struct Give final : YBonusBuilderBuilder {
    constexpr explicit Give(YBonusBuilderGive::Factory f) : factory(f) {}
    YBonusBuilder* Create() const override { return new YBonusBuilderGive(factory); }
    YBonusType* CreateType() const override { return factory(); }
    YBonusBuilderGive::Factory factory;
};

// One ball of a ball mode.
struct Ball final : YBonusBuilderBuilder {
    constexpr explicit Ball(BallModeIndex m) : mode(m) {}
    YBonusBuilder* Create() const override { return new YBonusBuilderBall(mode); }
    int mode;
};

struct Func final : YBonusBuilderBuilder {
    constexpr explicit Func(YBonusBuilder* (*f)()) : factory(f) {}
    YBonusBuilder* Create() const override { return factory(); }
    YBonusBuilder* (*factory)();
};

YBonusBuilder* MakeFourBallSmall() { return new YBonusFourBallSmall(); }

// The entries are constant-initialised, so the table may be used by any start-up code.
constinit const Give MAKE_BALL_NORMAL{Make<YBonusBallNormal>};
constinit const Give MAKE_BALL_HEAVY{Make<YBonusBallHeavy>};
constinit const Give MAKE_BALL_PHANTOM{Make<YBonusBallPhantom>};
constinit const Give MAKE_BALL_FIRE{Make<YBonusBallFire>};
constinit const Give MAKE_BALL_EXPLOSIVE{Make<YBonusBallExplosive>};
constinit const Give MAKE_BALL_ELECTRO{Make<YBonusBallElectro>};
constinit const Give MAKE_BALL_GENERATIVE{Make<YBonusBallGenerative>};
constinit const Give MAKE_BALL_UNIVERSAL{Make<YBonusBallUniversal>};
constinit const Give MAKE_GLOVES{Make<YBonusGloves>};
constinit const Give MAKE_BOOMER{Make<YBonusBoomer>};
constinit const Give MAKE_BOMB{Make<YBonusBomb>};
constinit const Give MAKE_GRENADE{Make<YBonusGrenade>};
constinit const Give MAKE_MIN_SPEEDUP{Make<YBonusMinSpeedup>};
constinit const Give MAKE_MAX_SPEEDUP{Make<YBonusMaxSpeedup>};
constinit const Give MAKE_LIFE{Make<YBonusLife>};
constinit const Give MAKE_DEATH{Make<YBonusDeath>};
constinit const Give MAKE_SLUMBER{Make<YBonusSlumber>};
constinit const Give MAKE_VIVACITY{Make<YBonusVivacity>};
constinit const Give MAKE_BACK_WALL{Make<YBonusBackWall>};
constinit const Give MAKE_FROST{Make<YBonusFrost>};
constinit const Give MAKE_SLIP{Make<YBonusSlip>};
constinit const Give MAKE_RESET{Make<YBonusReset>};
constinit const Give MAKE_RANDOM{Make<YBonusRandom>};
constinit const Give MAKE_NEXT{Make<YBonusNext>};
constinit const Ball MAKE_SMALL_BALL{BALL_SMALL};
constinit const Func MAKE_FOUR_SMALL_BALLS{MakeFourBallSmall};
constinit const Ball MAKE_NEW_BALL_NORMAL{BALL_NORMAL};
constinit const Ball MAKE_NEW_BALL_HEAVY{BALL_HEAVY};
constinit const Ball MAKE_NEW_BALL_PHANTOM{BALL_PHANTOM};
constinit const Ball MAKE_NEW_BALL_FIRE{BALL_FIRE};
constinit const Ball MAKE_NEW_BALL_EXPLOSIVE{BALL_EXPLOSIVE};
constinit const Ball MAKE_NEW_BALL_ELECTRO{BALL_ELECTRO};
constinit const Ball MAKE_NEW_BALL_GENERATIVE{BALL_GENERATIVE};
constinit const Ball MAKE_NEW_BALL_UNIVERSAL{BALL_UNIVERSAL};

using K = BonusKind;

constexpr YBonusKindRow ROWS[] = {
    {K::BallNormal, "ball_normal", "bonus_ball_normal", &MAKE_BALL_NORMAL},
    {K::BallHeavy, "ball_heavy", "bonus_ball_heavy", &MAKE_BALL_HEAVY},
    {K::BallPhantom, "ball_phantom", "bonus_ball_phantom", &MAKE_BALL_PHANTOM},
    {K::BallFire, "ball_fire", "bonus_ball_fire", &MAKE_BALL_FIRE},
    {K::BallExplosive, "ball_explosive", "bonus_ball_explosive", &MAKE_BALL_EXPLOSIVE},
    {K::BallElectro, "ball_electro", "bonus_ball_electro", &MAKE_BALL_ELECTRO},
    {K::BallGenerative, "ball_generative", "bonus_ball_generative", &MAKE_BALL_GENERATIVE},
    {K::BallUniversal, "ball_universal", "bonus_ball_universal", &MAKE_BALL_UNIVERSAL},
    {K::Gloves, "gloves", "bonus_gloves", &MAKE_GLOVES},
    {K::Boomer, "boomer", "bonus_boomer", &MAKE_BOOMER},
    {K::Bomb, "bomb", "bonus_bomb", &MAKE_BOMB},
    {K::Grenade, "grenade", "bonus_grenade", &MAKE_GRENADE},
    {K::MinSpeedup, "min_speedup", "bonus_min_speedup", &MAKE_MIN_SPEEDUP},
    {K::MaxSpeedup, "max_speedup", "bonus_max_speedup", &MAKE_MAX_SPEEDUP},
    {K::Life, "life", "bonus_life", &MAKE_LIFE},
    {K::Death, "death", "bonus_death", &MAKE_DEATH},
    {K::Slumber, "slumber", "bonus_slumber", &MAKE_SLUMBER},
    {K::Vivacity, "vivacity", "bonus_vivacity", &MAKE_VIVACITY},
    {K::BackWall, "back_wall", "bonus_back_wall", &MAKE_BACK_WALL},
    {K::Frost, "frost", "bonus_frost", &MAKE_FROST},
    {K::Slip, "slip", "bonus_slip", &MAKE_SLIP},
    {K::Reset, "reset", "bonus_reset", &MAKE_RESET},
    {K::Random, "random", "bonus_random", &MAKE_RANDOM},
    {K::Next, "next", "bonus_next", &MAKE_NEXT},
    {K::SmallBall, "small_ball", "bonus_small_ball", &MAKE_SMALL_BALL},
    {K::FourSmallBalls, "four_small_balls", "bonus_four_small_balls", &MAKE_FOUR_SMALL_BALLS},
    {K::NewBallNormal, "new_ball_normal", "bonus_new_ball_normal", &MAKE_NEW_BALL_NORMAL},
    {K::NewBallHeavy, "new_ball_heavy", "bonus_new_ball_heavy", &MAKE_NEW_BALL_HEAVY},
    {K::NewBallPhantom, "new_ball_phantom", "bonus_new_ball_phantom", &MAKE_NEW_BALL_PHANTOM},
    {K::NewBallFire, "new_ball_fire", "bonus_new_ball_fire", &MAKE_NEW_BALL_FIRE},
    {K::NewBallExplosive, "new_ball_explosive", "bonus_new_ball_explosive", &MAKE_NEW_BALL_EXPLOSIVE},
    {K::NewBallElectro, "new_ball_electro", "bonus_new_ball_electro", &MAKE_NEW_BALL_ELECTRO},
    {K::NewBallGenerative, "new_ball_generative", "bonus_new_ball_generative", &MAKE_NEW_BALL_GENERATIVE},
    {K::NewBallUniversal, "new_ball_universal", "bonus_new_ball_universal", &MAKE_NEW_BALL_UNIVERSAL},
};

constexpr bool RowsFollowTheKinds() {
    if (std::size(ROWS) != static_cast<std::size_t>(BONUS_KIND_COUNT)) return false;
    for (int k = 0; k < BONUS_KIND_COUNT; ++k) {
        if (ROWS[k].kind != BonusKindAt(k)) return false;
    }
    return true;
}
static_assert(RowsFollowTheKinds(), "one row per bonus kind, in kind order");

} // namespace

std::span<const YBonusKindRow> BonusKindTable() { return ROWS; }

const YBonusKindRow& BonusKindInfo(BonusKind kind) { return ROWS[BonusKindIndex(kind)]; }
