#pragma once
// Counts the heap a program holds and the most it held since the last reset, by standing
// in for the C library's allocation calls. Include it in exactly one source file of a
// benchmark program; every library of the program (Qt, the engine, the C++ runtime)
// allocates through it.
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
inline std::atomic<int64_t> live{0};
inline std::atomic<int64_t> peak{0};

inline void note(int64_t bytes) {
    const int64_t now = live.fetch_add(bytes, std::memory_order_relaxed) + bytes;
    int64_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
    }
}
inline int64_t sizeOf(void* p) { return p ? static_cast<int64_t>(malloc_usable_size(p)) : 0; }

// Bytes held now; the peak starts again from here.
inline int64_t reset() {
    const int64_t now = live.load();
    peak.store(now);
    return now;
}
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
