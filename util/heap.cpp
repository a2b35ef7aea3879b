// The private heap's failure counter, shared by its two halves: the Win32
// heap (heap_win.cpp) and the C runtime's allocator (heap_native.cpp).
#include "util/heap.h"
#include "util/heap_internal.h"

static int g_failAt;

void KvHeapFailAt(int n) { g_failAt = n; }

bool KvHeapShouldFail() {
    if (g_failAt <= 0) return false;
    return --g_failAt == 0;
}
