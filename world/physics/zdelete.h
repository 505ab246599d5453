#pragma once
// Deferred deletion. Game objects that must go in the middle of play (a broken block, a ball that
// left the table, a spent boomerang) are not deleted where that is decided, usually inside a
// contact hand-out or an update loop that still holds them: they derive from YZDelete and
// Schedule themselves with a countdown, and YZDelete::TickAll, once per frame before the physics
// step, deletes those whose time is up.
//
// An object may also be deleted directly (deleting all blocks); its destructor then takes it off
// the pending list. Destructors that run from TickAll may delete other objects, pending or not:
// the list never holds a deleted object.
//
// Main thread only.
#include <vector>

#include "math/vector.h"

class YZDelete {
public:
    YZDelete() = default;
    // Takes the object off the pending list.
    virtual ~YZDelete();
    YZDelete(const YZDelete&) = delete;
    YZDelete& operator=(const YZDelete&) = delete;

    // The first call sets the countdown and makes the object pending; later calls change nothing.
    // A delay of 0 deletes the object at the next tick.
    void Schedule(float delay);
    // Counts every pending countdown down by dt once and deletes each object whose countdown is 0
    // or less (or not a number).
    static void TickAll(float dt);

    // The play-area test: true when z < -margin, z > 100, |x| > half width + margin or
    // |y| > half depth + margin of the current table (a bound itself is inside). A position that
    // is not finite schedules this object at once (Schedule(0)) and answers false.
    bool IsOutOfBounds(const YVector* position, float margin);

    // The objects pending now (tests, the frame's statistics).
    static const std::vector<YZDelete*>& Pending();
    // The usual deletion delay of an object that left the play area: 0.15 s +- 0.0125 s.
    static float UsualDelay();

    float countdown = 0.0f;
    bool scheduled = false;
};
