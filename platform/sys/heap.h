#pragma once
// How the C heap hands memory back to the system.
//
// The OpenGL driver (llvmpipe above all) mallocs and frees its per-frame scene and vertex storage
// every frame, a few megabytes in blocks of tens to hundreds of kilobytes, more when a chain of
// blasts fills the view. By default glibc gives the top of the heap back to the kernel as soon as
// such a frame frees it and maps large blocks afresh each time, so the next frame pays again for
// page faults and zeroed pages (measured: about a fifth of a busy frame's CPU). Kept, the pages are
// reused; the process holds at most what its busiest frame needed, which its peak already counted.
namespace plat {

// Keeps freed heap memory for reuse instead of returning it at once: large blocks are mapped from
// 32 MB up, the heap's top is trimmed past 256 MB free, and it grows 16 MB at a time. Call once,
// early; later calls change nothing. False when the C library refused a setting (the defaults stay).
bool KeepHeapBetweenFrames();

} // namespace plat
