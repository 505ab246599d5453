// The heap keeps what a frame freed: blocks of a few hundred kilobytes (the driver's per-frame
// storage) come from the heap rather than fresh mappings, and freeing them leaves the heap as
// large as it was, so the next frame touches no new pages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/sys/heap.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KORVELIN_OWN_MALLOC 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVELIN_OWN_MALLOC 1
#endif
#endif

namespace {

TEST(Heap, FreedFrameStorageStaysInTheHeap) {
#if !defined(__GLIBC__) || defined(KORVELIN_OWN_MALLOC)
    GTEST_SKIP() << "the settings belong to the GNU C library's allocator";
#else
    ASSERT_TRUE(plat::KeepHeapBetweenFrames());
    EXPECT_TRUE(plat::KeepHeapBetweenFrames()); // a second call changes nothing

    constexpr std::size_t kBlock = 300 * 1024; // mapped on its own by the library's defaults
    constexpr int kBlocks = 40;                // 12 MB
    const struct mallinfo2 before = mallinfo2();
    std::vector<void*> blocks;
    for (int i = 0; i < kBlocks; ++i) {
        void* p = std::malloc(kBlock);
        ASSERT_NE(p, nullptr);
        static_cast<volatile char*>(p)[0] = 1;
        blocks.push_back(p);
    }
    const struct mallinfo2 held = mallinfo2();
    EXPECT_EQ(held.hblkhd, before.hblkhd) << "the blocks were mapped one by one";
    for (void* p : blocks) std::free(p);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_GE(after.arena, held.arena) << "the heap gave the freed blocks back";
#endif
}

} // namespace
