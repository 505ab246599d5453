#include "world/blocks/block_hooks.h"

#include "world/physics/unconnected.h"

YBlockHooks::YBlockHooks()
    : createBonusBuilder([](int32_t) -> YBonusBuilder* { UnconnectedWorldCall("blocks: create bonus builder"); }),
      blockDestroyed([](int32_t) { UnconnectedWorldCall("blocks: block destroyed"); }),
      dropNextBonus([] { UnconnectedWorldCall("blocks: drop Next bonus"); }),
      deleteAllTacked([] { UnconnectedWorldCall("blocks: delete all tacked"); }) {}

YBlockHooks& BlockHooks() {
    static YBlockHooks hooks;
    return hooks;
}
