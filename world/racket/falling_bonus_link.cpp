#include "world/racket/falling_bonus_link.h"

#include "world/physics/unconnected.h"

YFallingBonusLink::YFallingBonusLink()
    : updateAll([](float) { UnconnectedWorldCall("racket: update falling bonuses"); }),
      deleteAll([] { UnconnectedWorldCall("racket: delete falling bonuses"); }),
      visitPositions(
          [](void (*)(const YVector&, void*), void*) { UnconnectedWorldCall("racket: visit falling bonuses"); }) {}

YFallingBonusLink& FallingBonusLink() {
    static YFallingBonusLink link;
    return link;
}
