#include "world/balls/falling_bonus_link.h"

#include "world/physics/unconnected.h"

YFallingBonusLink::YFallingBonusLink()
    : updateAll([](float) { UnconnectedWorldCall("balls: update falling bonuses"); }),
      deleteAll([] { UnconnectedWorldCall("balls: delete falling bonuses"); }),
      visitPositions(
          [](void (*)(const YVector&, void*), void*) { UnconnectedWorldCall("balls: visit falling bonuses"); }) {}

YFallingBonusLink& FallingBonusLink() {
    static YFallingBonusLink link;
    return link;
}
