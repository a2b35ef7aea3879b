// The private heap on Windows: a heap of the process's own, the process heap
// until it is created.
#include <windows.h>

#include "util/heap.h"
#include "util/heap_internal.h"

static HANDLE g_heap;

static HANDLE Heap() { return g_heap ? g_heap : GetProcessHeap(); }

bool KvHeapCreate() {
    if (!g_heap) g_heap = HeapCreate(0, 0, 0);
    return g_heap != nullptr;
}

void KvHeapDestroy() {
    if (g_heap) HeapDestroy(g_heap);
    g_heap = nullptr;
}

void* KvAlloc(size_t n) {
    if (KvHeapShouldFail()) return nullptr;
    return HeapAlloc(Heap(), HEAP_ZERO_MEMORY, n ? n : 1);
}

void* KvRealloc(void* p, size_t n) {
    if (KvHeapShouldFail()) return nullptr;
    if (!p) return HeapAlloc(Heap(), 0, n ? n : 1);
    return HeapReAlloc(Heap(), 0, p, n ? n : 1);
}

void KvFree(void* p) {
    if (p) HeapFree(Heap(), 0, p);
}
