#include "heap_peak.h"

#include <malloc.h>

#include <cstdint>

extern "C" {
void *__libc_malloc(size_t);
void *__libc_calloc(size_t, size_t);
void *__libc_realloc(void *, size_t);
void __libc_free(void *);
void *__libc_memalign(size_t, size_t);
}

namespace {

// Single-threaded benchmarks: plain counters. Sizes are the allocator's usable sizes,
// so a block freed after Start that was allocated before lowers the count below zero.
bool counting = false;
int64_t live = 0, peak = 0;

inline void Added(void *p) {
    if (counting && p) {
        live += int64_t(malloc_usable_size(p));
        if (live > peak) peak = live;
    }
}

inline void Removing(void *p) {
    if (counting && p) live -= int64_t(malloc_usable_size(p));
}

}  // namespace

namespace heap_peak {

void Start() {
    live = peak = 0;
    counting = true;
}

size_t Stop() {
    counting = false;
    return size_t(peak);
}

}  // namespace heap_peak

extern "C" {

void *malloc(size_t n) {
    void *p = __libc_malloc(n);
    Added(p);
    return p;
}

void *calloc(size_t n, size_t size) {
    void *p = __libc_calloc(n, size);
    Added(p);
    return p;
}

void *realloc(void *old, size_t n) {
    Removing(old);
    void *p = __libc_realloc(old, n);
    Added(p ? p : (n ? old : nullptr));
    return p;
}

void free(void *p) {
    Removing(p);
    __libc_free(p);
}

void *memalign(size_t align, size_t n) {
    void *p = __libc_memalign(align, n);
    Added(p);
    return p;
}

void *aligned_alloc(size_t align, size_t n) { return memalign(align, n); }

int posix_memalign(void **out, size_t align, size_t n) {
    void *p = memalign(align, n);
    if (!p) return 12;  // ENOMEM
    *out = p;
    return 0;
}

}  // extern "C"
