#include "world/balls/ball_mode_info.h"

namespace {

constexpr YBallModeInfo kModes[BALL_MODE_COUNT] = {
    {"mesh\\ball_norm.mes", 1.0f, {"ball", ""}, "kick", 0.5f, 1.0f, 0, true, false, 0.0f, ""},
    {"mesh\\ball2.mes", 1.0f, {"ball_heavy", ""}, "kick_heavy", 0.5f, 10.0f, 0, true, false, 0.0f, ""},
    {"mesh\\ball_phant.mes",
     1.0f,
     {"ball_phantom", "ball_phantom2"},
     "kick",
     0.5f,
     1.0f,
     2,
     true,
     true,
     1.5f,
     "ballphantom_flare"},
    {"mesh\\ball2.mes", 1.0f, {"ball_fire", ""}, "kick_fire", 0.5f, 0.5f, 0, true, true, 1.75f, "ballfire_flare"},
    {"mesh\\ball2.mes",
     1.0f,
     {"ball_explosive", ""},
     "kick_fire",
     0.5f,
     0.5f,
     0,
     true,
     true,
     1.75f,
     "ballexplosive_flare"},
    {"mesh\\ball2.mes",
     1.0f,
     {"ball_electro", ""},
     "kick_electro",
     0.5f,
     0.5f,
     0,
     true,
     true,
     1.7f,
     "ballelectro_flare"},
    {"mesh\\ball_sat.mes", 1.0f, {"ball_generative", ""}, "kick", 0.5f, 1.0f, 0, true, false, 0.0f, ""},
    {"mesh\\ball2.mes", 1.2f, {"ball_universal", ""}, "kick", 0.5f, 1.0f, 0, true, false, 0.0f, ""},
    {"mesh\\ball2.mes", 0.66f, {"ball_small", ""}, "kick_small", 0.33f, 0.3f, 0, false, false, 0.0f, ""},
};

} // namespace

const YBallModeInfo& BallModeInfo(int index) {
    if (index < 0 || index >= BALL_MODE_COUNT) index = 0;
    return kModes[index];
}
