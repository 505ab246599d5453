#pragma once
// The bonus kind table: one row per kind (core/bonus_kind.h), in kind order. Every per-kind list
// follows it: the registry makes a kind's builder from its row, data\bonuses.yml and the game
// modes' "bonus" records are checked against its names when they are read, and the editor, the HUD
// and the information pages name kinds through BonusKind.
#include <span>

#include "core/bonus_kind.h"

class YBonusBuilder;
class YBonusType;

// The builder column: makes a new builder of its kind (the caller owns it).
struct YBonusBuilderBuilder {
    virtual ~YBonusBuilderBuilder() = default;
    virtual YBonusBuilder* Create() const = 0;
    // The falling bonus of the kind with the bonus radius; null for kinds that put balls into play.
    virtual YBonusType* CreateType() const { return nullptr; }
};

struct YBonusKindRow {
    BonusKind kind;
    // What data\modes.yml calls the kind ("ball_fire").
    const char* name;
    // What data\bonuses.yml calls the kind's record: the overlay shader of the falling disk and the
    // HUD and information pages' picture, and the locale key of the display text.
    const char* icon;
    const YBonusBuilderBuilder* builder;
};

// The rows, one per kind, row k describing kind k.
std::span<const YBonusKindRow> BonusKindTable();
// The row of `kind`; kind must be one of the kinds before Count.
const YBonusKindRow& BonusKindInfo(BonusKind kind);
