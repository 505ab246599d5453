#pragma once
// The falling bonuses are built on top of the racket: the racket updates them every frame, deletes
// them with the held objects between levels and puts a shield cell under each. The bonus list
// installs these calls when it starts; an empty entry means there are no falling bonuses.
#include "math/vector.h"

struct YFallingBonusLink {
    // Every falling bonus's update with dt (the list may shrink while it runs).
    void (*updateAll)(float dt) = nullptr;
    // Deletes every falling bonus, the last first.
    void (*deleteAll)() = nullptr;
    // Calls visit(position of its body, context) for every falling bonus.
    void (*visitPositions)(void (*visit)(const YVector& position, void* context), void* context) = nullptr;
};

YFallingBonusLink& FallingBonusLink();
