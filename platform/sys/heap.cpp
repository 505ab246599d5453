#include "platform/sys/heap.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace plat {

bool KeepHeapBetweenFrames() {
#if defined(__GLIBC__)
    static const bool done = mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024) == 1 &&
                             mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024) == 1 &&
                             mallopt(M_TOP_PAD, 16 * 1024 * 1024) == 1;
    return done;
#else
    return true;
#endif
}

} // namespace plat
