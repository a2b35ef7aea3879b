// heap.h - the private heap of a deliverable.
//
// Every list of windows, drawing operations and accessories of an order in
// memory comes from here. On Windows it is a growable heap of its own
// (HeapCreate), destroyed at shut-down with whatever it still holds; the
// native build uses the C allocator.
#ifndef KV_UTIL_HEAP_H
#define KV_UTIL_HEAP_H

#include <stddef.h>

// Creates the heap. False (with the system's last error set) on failure.
bool KvHeapCreate();
// Destroys the heap; on Windows every block still allocated goes with it.
void KvHeapDestroy();

// A zero-filled block of n bytes, or null.
void* KvAlloc(size_t n);
// Resizes a block (null p allocates). On failure returns null and p is kept.
// Bytes added by growing are not zeroed.
void* KvRealloc(void* p, size_t n);
void KvFree(void* p);

// Test seam: the n-th allocation or reallocation from now fails (0 = never).
void KvHeapFailAt(int n);

#endif  // KV_UTIL_HEAP_H
