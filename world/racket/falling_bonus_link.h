#pragma once
// The falling bonuses are built on top of the racket: the racket updates them every frame, deletes
// them with the held objects between levels and puts a shield cell under each. The world set-up
// connects these calls; until it has, a call stops the program with the entry's name.
#include "math/vector.h"

struct YFallingBonusLink {
    // Every falling bonus's update with dt (the list may shrink while it runs).
    void (*updateAll)(float dt);
    // Deletes every falling bonus, the last first.
    void (*deleteAll)();
    // Calls visit(position of its body, context) for every falling bonus.
    void (*visitPositions)(void (*visit)(const YVector& position, void* context), void* context);

    // Every entry unconnected.
    YFallingBonusLink();
};

YFallingBonusLink& FallingBonusLink();
