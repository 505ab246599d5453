#pragma once
// Counts heap allocations of the whole process (every thread, every library: the program's own
// code, the C++ runtime, OpenGL, the window system, the sound library) by replacing malloc and its
// relatives, and the C++ allocation functions, for the executable that includes alloc_counter.cpp.
// The replacements hand every call to the C library's own allocator, so behaviour is unchanged;
// they only count while counting is on. Optionally the call stacks of counted allocations are kept (a fixed number, no allocation)
// and printed, to see who allocates.
#include <cstdint>

namespace benchalloc {

struct Counts {
    uint64_t all = 0;  // every thread
    uint64_t main = 0; // the thread that called Start
    uint64_t own = 0;  // asked for by code of the executable itself (the game's), any thread
};

// Zeroes the counts and starts counting; the calling thread is the "main" one.
void Start();
// Stops counting and returns what was counted since Start.
Counts Stop();
// What was counted since Start so far, counting going on (to count a stretch of a run).
Counts Current();

// Keep the call stacks of up to `limit` counted allocations (0: none, the default); with
// `ownOnly`, only of those the executable's own code asked for.
void KeepStacks(int limit, bool ownOnly = false);
// Prints the kept stacks, grouped by where they come from, to standard error.
void PrintStacks();

} // namespace benchalloc
