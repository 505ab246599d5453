#include "world/bonus/bonus_registry.h"

#include "core/log.h"
#include "world/bonus/bonus_kinds.h"

int BonusRegistrySize() { return BONUS_KIND_COUNT; }

YBonusBuilder* CreateBonusBuilder(int32_t kind) {
    if (!IsBonusKind(kind)) {
        LogPrintf(g_Log, "Bonus kind %d does not exist: no bonus", static_cast<int>(kind));
        return nullptr;
    }
    return BonusKindInfo(BonusKindAt(kind)).builder->Create();
}

YBonusType* CreateBonusType(BonusKind kind) {
    if (!IsBonusKind(BonusKindIndex(kind))) return nullptr;
    return BonusKindInfo(kind).builder->CreateType();
}
