#pragma once
// How long a ball mode given by a bonus lasts. The time-outs are the bonus records', above the
// balls in the world: the world set-up connects them here.

// -1 for kinds from 8 on or when the game mode runs no timed balls, otherwise the bonus record's
// time-out.
float BallModeTimeout(int kind);

// The bonus records' time-out of a kind, connected by the world set-up.
extern float (*g_BonusModeTimeout)(int kind);
