#include "platform/sys/crt_rand.h"

#include <cstdint>

namespace plat {

namespace {

// One state per thread, each starting as if seeded with 1, as the multithreaded C runtime the game
// was made for kept it. Threads therefore never race on the state.
thread_local uint32_t t_state = 1;

} // namespace

int CrtRand() {
    t_state = t_state * 214013u + 2531011u;
    return static_cast<int>((t_state >> 16) & 0x7FFFu);
}

void CrtSrand(unsigned seed) { t_state = seed; }

} // namespace plat
