#pragma once
// The game's one seeded pseudo-random generator: Marsaglia's five-word xorshift with a multiplied
// output. It starts from a fixed state at every program start and is never reseeded, so the same
// levels loaded in the same order get the same bonuses in every run. Only the level's bonus
// hand-out uses it; all other randomness comes from plat::CrtRand. Main thread only.
#include <cstdint>

struct XorShiftState {
    uint32_t x = 123456789u;
    uint32_t y = 362436069u;
    uint32_t z = 521288629u;
    uint32_t w = 88675123u;
    uint32_t v = 886756453u;
};

// Advances `state` and returns the next number of its sequence.
uint32_t XorShiftNext(XorShiftState& state);

// The next number of the program's generator. The first three of a run are 2693114382,
// 1871987772 and 32100770.
uint32_t XorShiftRand();

// A number in [0, 1): (XorShiftRand() mod 32767) / 32767, so 0 to 32766/32767.
float XorShiftUnit();

// Roulette over `count` weights: draws XorShiftUnit() and returns the first index whose running
// sum of weights reaches it, drawing again when no sum does. When the weights sum to 0 or less no
// index can be chosen fairly, and -1 is returned at once without drawing.
int XorShiftRoulette(const float* weights, int count);
