#include "world/bonus/bonus_hooks.h"

#include "core/game_mode.h"
#include "world/balls/world_links.h"
#include "world/blocks/block_hooks.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_effects.h"
#include "world/bonus/bonus_kinds.h"
#include "world/bonus/bonus_registry.h"
#include "world/racket/falling_bonus_link.h"

namespace {

float RecordTimeout(int kind) { return BonusConfig(kind).timeout; }

void VisitPositions(void (*visit)(const YVector& position, void* context), void* context) {
    for (YBonus* bonus : BonusList()) {
        YVector p;
        bonus->body.GetPosition(&p);
        visit(p, context);
    }
}

} // namespace

void InstallBonusHooks() {
    YBlockHooks& blocks = BlockHooks();
    blocks.createBonusBuilder = [](int32_t kind) { return CreateBonusBuilder(kind); };
    blocks.dropNextBonus = [] { DropNextBonus(); };
    g_BonusModeTimeout = RecordTimeout;
    GameModeHooks().bonusKindName = [](BonusKind kind) { return BonusKindInfo(kind).name; };
    YFallingBonusLink& link = FallingBonusLink();
    link.updateAll = UpdateBonuses;
    link.deleteAll = DeleteAllBonuses;
    link.visitPositions = VisitPositions;
}

void BonusStartUp(const char* configFile) {
    LoadBonusConfigs(configFile);
    InstallBonusHooks();
}
