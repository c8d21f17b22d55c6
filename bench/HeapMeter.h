#pragma once
// Counts how far the heap a program holds grows while a piece of work runs, and the most
// it grew meanwhile, by standing in for the C library's allocation calls. Include it in
// exactly one source file of a benchmark program; every library of the program (Qt, the
// engine, the C++ runtime) allocates through it. Outside a Window nothing is counted, so
// timed work that is not watched pays nothing for it.
#include <malloc.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace heapmeter {
inline std::atomic<bool> counting{false};
inline std::atomic<int64_t> live{0};  // bytes allocated less bytes freed while counting
inline std::atomic<int64_t> peak{0};

inline void note(int64_t bytes) {
    const int64_t now = live.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    int64_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}
inline int64_t sizeOf(void* p) {
    return p && counting.load(std::memory_order_relaxed)
               ? static_cast<int64_t>(malloc_usable_size(p))
               : 0;
}

// Counts while it lives: growth() is what the heap grew by from its start (frees of older
// blocks count against it), most() the largest growth on the way.
class Window {
public:
    Window() {
        live.store(0);
        peak.store(0);
        counting.store(true);
    }
    ~Window() { counting.store(false); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    int64_t growth() const { return live.load(); }
    int64_t most() const { return peak.load(); }
};
}  // namespace heapmeter

extern "C" {
void* malloc(size_t size) {
    void* p = __libc_malloc(size);
    heapmeter::note(heapmeter::sizeOf(p));
    return p;
}
void* calloc(size_t count, size_t size) {
    void* p = __libc_calloc(count, size);
    heapmeter::note(heapmeter::sizeOf(p));
    return p;
}
void* realloc(void* old, size_t size) {
    const int64_t before = heapmeter::sizeOf(old);
    void* p = __libc_realloc(old, size);
    if (p)
        heapmeter::note(heapmeter::sizeOf(p) - before);
    else if (size == 0)
        heapmeter::note(-before);
    return p;
}
void free(void* p) {
    heapmeter::note(-heapmeter::sizeOf(p));
    __libc_free(p);
}
void* memalign(size_t alignment, size_t size) {
    void* p = __libc_memalign(alignment, size);
    heapmeter::note(heapmeter::sizeOf(p));
    return p;
}
void* aligned_alloc(size_t alignment, size_t size) { return memalign(alignment, size); }
int posix_memalign(void** out, size_t alignment, size_t size) {
    *out = memalign(alignment, size);
    return *out ? 0 : 12;  // ENOMEM
}
}
