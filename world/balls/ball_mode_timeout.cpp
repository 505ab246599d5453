#include "world/balls/ball_mode_timeout.h"

#include "core/init.h"
#include "world/physics/unconnected.h"

float (*g_BonusModeTimeout)(int kind) = [](int) -> float { UnconnectedWorldCall("balls: bonus mode time-out"); };

float BallModeTimeout(int kind) {
    if (kind >= 8 || kind < 0 || !GetInit().CurrentGameMode().timerBall) return -1.0f;
    return g_BonusModeTimeout(kind);
}
