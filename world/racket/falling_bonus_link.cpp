#include "world/racket/falling_bonus_link.h"

YFallingBonusLink& FallingBonusLink() {
    static YFallingBonusLink link;
    return link;
}
