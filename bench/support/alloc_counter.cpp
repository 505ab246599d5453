#include "support/alloc_counter.h"

#include <execinfo.h>
#include <link.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// The C library's own allocator, under the names it exports for programs that wrap it.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void __libc_free(void* p);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

constexpr int kDepth = 14;
constexpr int kMaxStacks = 4096;

struct Stack {
    void* frames[kDepth];
    int depth;
};

std::atomic<bool> g_counting{false};
std::atomic<uint64_t> g_all{0};
std::atomic<uint64_t> g_main{0};
std::atomic<uint64_t> g_own{0};
// Where this executable (with the game's code) is loaded: the span of its loaded segments, found
// once, so that telling the game's own allocations apart is two comparisons, not a symbol lookup.
std::atomic<uintptr_t> g_programBegin{0};
std::atomic<uintptr_t> g_programEnd{0};
std::atomic<int> g_stackLimit{0};
std::atomic<bool> g_stacksOwnOnly{false};
std::atomic<int> g_stackCount{0};
Stack g_stacks[kMaxStacks];
thread_local bool t_isMain = false;
thread_local bool t_inHook = false; // backtrace may allocate on its first use in a thread

// `caller` is the code that asked for memory: inside this executable, it is the game's own code
// (the libraries it calls are shared objects).
inline void Count(const void* caller) {
    if (!g_counting.load(std::memory_order_relaxed)) return;
    g_all.fetch_add(1, std::memory_order_relaxed);
    const auto at = reinterpret_cast<uintptr_t>(caller);
    const bool own =
        at >= g_programBegin.load(std::memory_order_relaxed) && at < g_programEnd.load(std::memory_order_relaxed);
    if (own) g_own.fetch_add(1, std::memory_order_relaxed);
    if (t_isMain) g_main.fetch_add(1, std::memory_order_relaxed);
    if (t_inHook || g_stackLimit.load(std::memory_order_relaxed) == 0) return;
    if (!own && g_stacksOwnOnly.load(std::memory_order_relaxed)) return;
    const int slot = g_stackCount.fetch_add(1, std::memory_order_relaxed);
    if (slot >= g_stackLimit.load(std::memory_order_relaxed)) return;
    t_inHook = true;
    g_stacks[slot].depth = backtrace(g_stacks[slot].frames, kDepth);
    t_inHook = false;
}

} // namespace

extern "C" {

void* malloc(size_t size) {
    Count(__builtin_return_address(0));
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    Count(__builtin_return_address(0));
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    Count(__builtin_return_address(0));
    return __libc_realloc(p, size);
}
void free(void* p) { __libc_free(p); }
void* memalign(size_t alignment, size_t size) {
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) {
    Count(__builtin_return_address(0));
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    Count(__builtin_return_address(0));
    void* p = __libc_memalign(alignment, size);
    if (!p && size) return ENOMEM;
    *out = p;
    return 0;
}
void* valloc(size_t size) {
    Count(__builtin_return_address(0));
    return __libc_memalign(static_cast<size_t>(sysconf(_SC_PAGESIZE)), size);
}

} // extern "C"

// The C++ allocation functions, so the caller seen is the code that used new, not the runtime.
void* operator new(size_t size) {
    Count(__builtin_return_address(0));
    if (void* p = __libc_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t size) {
    Count(__builtin_return_address(0));
    if (void* p = __libc_malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    Count(__builtin_return_address(0));
    return __libc_malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    Count(__builtin_return_address(0));
    return __libc_malloc(size ? size : 1);
}
void operator delete(void* p) noexcept { __libc_free(p); }
void operator delete[](void* p) noexcept { __libc_free(p); }
void operator delete(void* p, size_t) noexcept { __libc_free(p); }
void operator delete[](void* p, size_t) noexcept { __libc_free(p); }

namespace benchalloc {

namespace {

// The loaded span of the object that holds `Start` (the executable).
int FindProgramSpan(dl_phdr_info* info, size_t, void*) {
    const auto self = reinterpret_cast<uintptr_t>(&Start);
    uintptr_t begin = UINTPTR_MAX, end = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD) continue;
        begin = std::min<uintptr_t>(begin, info->dlpi_addr + ph.p_vaddr);
        end = std::max<uintptr_t>(end, info->dlpi_addr + ph.p_vaddr + ph.p_memsz);
    }
    if (self < begin || self >= end) return 0;
    g_programBegin = begin;
    g_programEnd = end;
    return 1;
}

} // namespace

void Start() {
    if (g_programEnd.load() == 0) dl_iterate_phdr(&FindProgramSpan, nullptr);
    t_isMain = true;
    g_all = 0;
    g_main = 0;
    g_own = 0;
    g_stackCount = 0;
    g_counting = true;
}

Counts Stop() {
    g_counting = false;
    return {g_all.load(), g_main.load(), g_own.load()};
}

Counts Current() { return {g_all.load(), g_main.load(), g_own.load()}; }

void KeepStacks(int limit, bool ownOnly) {
    g_stacksOwnOnly = ownOnly;
    if (limit > 0) { // load the unwinder now, outside any counting
        void* frames[2];
        backtrace(frames, 2);
    }
    g_stackLimit = limit < 0 ? 0 : (limit > kMaxStacks ? kMaxStacks : limit);
}

void PrintStacks() {
    const int n = std::min(g_stackCount.load(), g_stackLimit.load());
    if (n == 0) return;
    // Group identical stacks (frames 2.. skip the counter and the replaced function).
    bool printed[kMaxStacks] = {};
    for (int i = 0; i < n; ++i) {
        if (printed[i]) continue;
        int same = 0;
        for (int j = i; j < n; ++j) {
            if (printed[j] || g_stacks[j].depth != g_stacks[i].depth ||
                std::memcmp(g_stacks[j].frames, g_stacks[i].frames, sizeof(void*) * g_stacks[i].depth) != 0)
                continue;
            printed[j] = true;
            ++same;
        }
        std::fprintf(stderr, "--- %d allocation(s) from:\n", same);
        const int skip = g_stacks[i].depth > 2 ? 2 : 0;
        backtrace_symbols_fd(g_stacks[i].frames + skip, g_stacks[i].depth - skip, 2);
    }
}

} // namespace benchalloc
