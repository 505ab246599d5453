#include "support/alloc_counter.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
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
const void* g_programBase = nullptr; // where this executable (with the game's code) is loaded
std::atomic<int> g_stackLimit{0};
std::atomic<int> g_stackCount{0};
Stack g_stacks[kMaxStacks];
thread_local bool t_isMain = false;
thread_local bool t_inHook = false; // backtrace may allocate on its first use in a thread

// `caller` is the code that asked for memory: inside this executable, it is the game's own code
// (the libraries it calls are shared objects).
inline void Count(const void* caller) {
    if (!g_counting.load(std::memory_order_relaxed)) return;
    g_all.fetch_add(1, std::memory_order_relaxed);
    Dl_info info;
    if (g_programBase && dladdr(caller, &info) && info.dli_fbase == g_programBase)
        g_own.fetch_add(1, std::memory_order_relaxed);
    if (t_isMain) g_main.fetch_add(1, std::memory_order_relaxed);
    if (t_inHook || g_stackLimit.load(std::memory_order_relaxed) == 0) return;
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

void Start() {
    if (!g_programBase) {
        Dl_info info;
        if (dladdr(reinterpret_cast<const void*>(&Start), &info)) g_programBase = info.dli_fbase;
    }
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

void KeepStacks(int limit) {
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
