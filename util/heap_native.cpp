// The private heap in the native build: the C runtime's allocator, so that
// the sanitizers see every block.
#include <stdlib.h>

#include "util/heap.h"
#include "util/heap_internal.h"

bool KvHeapCreate() { return true; }
void KvHeapDestroy() {}

void* KvAlloc(size_t n) {
    if (KvHeapShouldFail()) return nullptr;
    return calloc(1, n ? n : 1);
}

void* KvRealloc(void* p, size_t n) {
    if (KvHeapShouldFail()) return nullptr;
    return realloc(p, n ? n : 1);
}

void KvFree(void* p) { free(p); }
