#pragma once
// The bonus registry: kind 0..33 -> the builder a block carries.
//   0..23  a falling bonus of that kind (world/bonus/bonus_effects.h)
//   24     one small ball
//   25     four small balls
//   26..33 one ball of mode 0..7 (kind - 26)
#include <cstdint>

class YBonusBuilder;
class YBonusType;

// Kinds of the registry.
constexpr int BONUS_KINDS = 34;
constexpr int FALLING_BONUS_KINDS = 24;
constexpr int BONUS_RANDOM = 22;
constexpr int BONUS_NEXT = 23;

// One entry: makes a new builder of its kind.
struct YBonusBuilderBuilder {
    virtual ~YBonusBuilderBuilder() = default;
    virtual YBonusBuilder* Create() const = 0;
};

int BonusRegistrySize();
// A new builder of `kind` (the caller owns it); null, with a log line, for a
// kind outside 0..33.
YBonusBuilder* CreateBonusBuilder(int32_t kind);
// A new falling-bonus type of `kind` 0..23 with the bonus radius; null for any
// other kind.
YBonusType* CreateBonusType(int32_t kind);
