// The private heap: the platform's allocator behind one interface, with a
// counter that lets tests make a chosen allocation fail.
#include "heap.h"

#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
static HANDLE g_heap;
#endif

static int g_failAt;

void KvHeapFailAt(int n) { g_failAt = n; }

static bool ShouldFail() {
    if (g_failAt <= 0) return false;
    return --g_failAt == 0;
}

#ifdef _WIN32
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
    if (ShouldFail()) return nullptr;
    return HeapAlloc(Heap(), HEAP_ZERO_MEMORY, n ? n : 1);
}

void* KvRealloc(void* p, size_t n) {
    if (ShouldFail()) return nullptr;
    if (!p) return HeapAlloc(Heap(), 0, n ? n : 1);
    return HeapReAlloc(Heap(), 0, p, n ? n : 1);
}

void KvFree(void* p) {
    if (p) HeapFree(Heap(), 0, p);
}
#else
bool KvHeapCreate() { return true; }
void KvHeapDestroy() {}

void* KvAlloc(size_t n) {
    if (ShouldFail()) return nullptr;
    return calloc(1, n ? n : 1);
}

void* KvRealloc(void* p, size_t n) {
    if (ShouldFail()) return nullptr;
    return realloc(p, n ? n : 1);
}

void KvFree(void* p) { free(p); }
#endif
