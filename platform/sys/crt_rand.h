#pragma once
// The game's formulas scale random numbers as rand() / 32767 and expect the C runtime generator of
// the platform they were made for: a linear congruential generator with 15-bit results. The C
// library's own rand here goes up to 2^31 - 1 and must never be used in its place.
namespace plat {

constexpr int CRT_RAND_MAX = 32767;

int CrtRand();                // 0..32767
void CrtSrand(unsigned seed); // the state starts as if seeded with 1

} // namespace plat
