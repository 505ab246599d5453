#include "world/bonus/bonus_registry.h"

#include "core/log.h"
#include "world/bonus/bonus_builders.h"
#include "world/bonus/bonus_effects.h"
#include "world/bonus/bonus_type.h"

namespace {

template <class T>
YBonusType* Make() {
    return new T();
}

struct Give final : YBonusBuilderBuilder {
    explicit Give(YBonusBuilderGive::Factory f) : factory(f) {}
    YBonusBuilder* Create() const override { return new YBonusBuilderGive(factory); }
    YBonusBuilderGive::Factory factory;
};

struct Ball final : YBonusBuilderBuilder {
    explicit Ball(int m) : mode(m) {}
    YBonusBuilder* Create() const override { return new YBonusBuilderBall(mode); }
    int mode;
};

struct Func final : YBonusBuilderBuilder {
    explicit Func(YBonusBuilder* (*f)()) : factory(f) {}
    YBonusBuilder* Create() const override { return factory(); }
    YBonusBuilder* (*factory)();
};

YBonusBuilder* MakeFourBallSmall() { return new YBonusFourBallSmall(); }

// Falling kinds in registry order; each class passes its own kind.
constexpr YBonusBuilderGive::Factory FALLING[FALLING_BONUS_KINDS] = {
    Make<YBonusBallNormal>,    Make<YBonusBallHeavy>,   Make<YBonusBallPhantom>,    Make<YBonusBallFire>,
    Make<YBonusBallExplosive>, Make<YBonusBallElectro>, Make<YBonusBallGenerative>, Make<YBonusBallUniversal>,
    Make<YBonusGloves>,        Make<YBonusBoomer>,      Make<YBonusBomb>,           Make<YBonusGrenade>,
    Make<YBonusMinSpeedup>,    Make<YBonusMaxSpeedup>,  Make<YBonusLife>,           Make<YBonusDeath>,
    Make<YBonusSlumber>,       Make<YBonusVivacity>,    Make<YBonusBackWall>,       Make<YBonusFrost>,
    Make<YBonusSlip>,          Make<YBonusReset>,       Make<YBonusRandom>,         Make<YBonusNext>,
};

struct Registry {
    const YBonusBuilderBuilder* entries[BONUS_KINDS];
    Registry() {
        for (int k = 0; k < FALLING_BONUS_KINDS; ++k) entries[k] = new Give(FALLING[k]);
        entries[24] = new Ball(8);
        entries[25] = new Func(MakeFourBallSmall);
        for (int k = 26; k < BONUS_KINDS; ++k) entries[k] = new Ball(k - 26);
    }
    ~Registry() {
        for (const YBonusBuilderBuilder* e : entries) delete e;
    }
};

const Registry& TheRegistry() {
    static const Registry registry;
    return registry;
}

} // namespace

int BonusRegistrySize() { return BONUS_KINDS; }

YBonusBuilder* CreateBonusBuilder(int32_t kind) {
    if (kind < 0 || kind >= BONUS_KINDS) {
        LogPrintf(g_Log, "Bonus kind %d does not exist: no bonus", static_cast<int>(kind));
        return nullptr;
    }
    return TheRegistry().entries[kind]->Create();
}

YBonusType* CreateBonusType(int32_t kind) {
    if (kind < 0 || kind >= FALLING_BONUS_KINDS) return nullptr;
    return FALLING[kind]();
}
