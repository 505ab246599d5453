#include "world/play/world_setup.h"

#include "core/game_mode.h"
#include "core/log.h"
#include "world/balls/world_links.h"
#include "world/blocks/block_hooks.h"
#include "world/blocks/block_specials.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_effects.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics/physics_world.h"
#include "world/racket/falling_bonus_link.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/world_sound.h"

namespace {

// The slots' unconnected states, taken before main runs: the slots are constant-initialized, this
// copy is made in the dynamic initialization that follows.
struct Unconnected {
    void (*caption)(const std::string& text, const YColor& colour);
    void (*clearCaptions)();
    float (*modeTimeout)(int kind);
};
const Unconnected UNCONNECTED{g_BonusCaptionHook, g_ClearHudCaptions, g_BonusModeTimeout};

float RecordTimeout(int kind) { return BonusConfig(kind).timeout; }

void VisitPositions(void (*visit)(const YVector& position, void* context), void* context) {
    for (YBonus* bonus : BonusList()) {
        YVector p;
        bonus->body.GetPosition(&p);
        visit(p, context);
    }
}

// The racket scores the points of a destroyed block and counts its hits since a break afresh.
void ScoreForRacket(int32_t points) {
    if (!g_Racket) return; // between the racket's lives (menus being built, a test's teardown)
    g_Racket->score += points;
    g_Racket->hitsSinceBreak = 0;
}

// Without a racket (the editor) nothing scores and no bonus completes a level.
void ScoreForNoOne(int32_t) {}
void DropNothing() {}
void NoCaption(const std::string&, const YColor&) {}
void NoCaptionsToClear() {}

} // namespace

bool SetUpWorld(const YWorldOutside& outside) {
    bool complete = true;
    if (outside.racket && !outside.showCaption) {
        LogLine("World set-up refused: no caption connection for caught bonuses");
        complete = false;
    }
    if (outside.racket && !outside.clearCaptions) {
        LogLine("World set-up refused: no connection that clears the captions");
        complete = false;
    }
    if (!complete) return false;

    // The block specials (which spawn balls and change their modes) are made by name when the
    // block materials are read.
    RegisterBlockSpecials();

    YBlockHooks& blocks = BlockHooks();
    blocks.createBonusBuilder = CreateBonusBuilder;
    blocks.deleteAllTacked = DeleteAllTacked;
    blocks.blockDestroyed = outside.racket ? ScoreForRacket : ScoreForNoOne;
    blocks.dropNextBonus = outside.racket ? DropNextBonus : DropNothing;

    YFallingBonusLink& falling = FallingBonusLink();
    falling.updateAll = UpdateBonuses;
    falling.deleteAll = DeleteAllBonuses;
    falling.visitPositions = VisitPositions;

    g_BonusModeTimeout = RecordTimeout;
    GameModeHooks().bonusKindCount = [] { return BonusRegistrySize(); };

    g_BonusCaptionHook = outside.racket ? outside.showCaption : NoCaption;
    g_ClearHudCaptions = outside.racket ? outside.clearCaptions : NoCaptionsToClear;
    g_WorldSoundObserver = outside.soundObserver;
    g_PhysicsStepObserver = outside.stepObserver;
    return true;
}

void TearDownWorld() {
    BlockHooks() = YBlockHooks();
    FallingBonusLink() = YFallingBonusLink();
    g_BonusModeTimeout = UNCONNECTED.modeTimeout;
    GameModeHooks().bonusKindCount = nullptr;
    g_BonusCaptionHook = UNCONNECTED.caption;
    g_ClearHudCaptions = UNCONNECTED.clearCaptions;
    g_WorldSoundObserver = nullptr;
    g_PhysicsStepObserver = nullptr;
}

YWorldOutside HeadlessWorldOutside() {
    YWorldOutside outside;
    outside.racket = true;
    outside.showCaption = [](const std::string& text, const YColor&) { LogPrintf(g_Log, "Caption: %s", text.c_str()); };
    outside.clearCaptions = [] {};
    return outside;
}
