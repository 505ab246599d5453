#pragma once
// What the blocks need of the parts of the game world built on top of them (the bonus registry and
// the racket). The world set-up connects every entry; until it has, a call stops the program with
// the entry's name (see world/physics/unconnected.h). The level editor has no racket: its set-up
// connects entries that score for no one and drop nothing.
#include <cstdint>
#include <functional>

class YBonusBuilder;

struct YBlockHooks {
    // CreateBonusBuilder: a new builder of a bonus kind 0..33, owned by the block that gets it.
    std::function<YBonusBuilder*(int32_t kind)> createBonusBuilder;
    // A block was destroyed with effects: the racket adds the points to its score and starts
    // counting its hits since a break afresh.
    std::function<void(int32_t points)> blockDestroyed;
    // Drops the bonus that completes the level when caught, over the table.
    std::function<void()> dropNextBonus;
    // Deletes every object held on the racket and every falling bonus.
    std::function<void()> deleteAllTacked;

    // Every entry unconnected.
    YBlockHooks();
};

YBlockHooks& BlockHooks();
